// Connects the browser's shortcuts to the main window: key presses reach
// the window before its focused component, so a shortcut is taken before a
// page or an edit box sees the key; the extra mouse buttons are caught on
// their way down to the component under the pointer.
#pragma once

#include "runtime/runtime.h"

namespace app {

// Installs the shortcuts on the loaded main window (once).
void installShortcuts(runtime::Runtime& runtime, runtime::ComponentRef mainWindow);

}  // namespace app
