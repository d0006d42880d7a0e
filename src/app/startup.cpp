#include "startup.h"
namespace app { int runProgram(int, char**) { return 0; } }
