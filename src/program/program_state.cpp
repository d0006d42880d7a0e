#include "program_state.h"

namespace program {

ShellState& shell() {
    static ShellState s;
    return s;
}

}  // namespace program
