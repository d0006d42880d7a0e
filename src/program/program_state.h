// Program-wide values shared by the window shell and the tabbed browsing:
// border and margins, the saved normal placement, the first argument.
#pragma once

#include <string>

#include "runtime/component.h"

namespace program {

struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ShellState {
    int borderWidth = 0;            // set to 3 when the process starts
    Margins margins;                // set to 3 each when the main window is created
    runtime::Rect savedNormalRect;  // empty until the first maximise
    int maximisedWidth = 0, maximisedHeight = 0;
    int tabHeaderPosition = 0;  // headers on top
    std::string firstArgument;
};

ShellState& shell();

// The instance marker: the name of the running-instance object and the
// window property.
inline constexpr const char* kInstanceMarker = "5fwe5wre";

}  // namespace program
