#include "program_state.h"

namespace ui {

ShellState& shell() {
    static ShellState s;
    return s;
}

}  // namespace ui
