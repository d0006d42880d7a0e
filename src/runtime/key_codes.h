// Translation of GDK key events into the virtual-key codes, modifier bits
// and character codes the component events carry.
#pragma once

#include <gdk/gdk.h>

#include <optional>

namespace runtime {

// Virtual-key code of a key (13 Enter, 65-90 letters, 112-123 F1-F12, ...);
// 0 for keys without one.
int virtualKeyCode(guint keyval);
// Modifier bit set: 1 Ctrl, 2 Shift, 4 Alt.
int modifierBits(guint state);
// The character-input code a key press produces, if any. Ctrl or Alt
// suppress it, except that Ctrl+letter gives its control character as the
// platform does; Enter gives 13 only without Ctrl or Alt.
std::optional<int> characterCode(guint keyval, guint state);

}  // namespace runtime
