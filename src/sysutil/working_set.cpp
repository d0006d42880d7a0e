#include "working_set.h"

#include <malloc.h>

namespace sysutil {

void trimWorkingSet() { malloc_trim(0); }

}  // namespace sysutil
