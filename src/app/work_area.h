// Where a maximised main window goes: the monitor minus its panels, widened
// by the border so that the painted border hangs off-screen. Plain
// arithmetic, no display needed.
#pragma once

#include "runtime/component.h"

namespace app {

// The work area of a monitor: its usable rectangle (the part no panel or
// dock reserves, in screen coordinates), widened by the border so that the
// painted border hangs off the usable area: left and top minus the border,
// width and height plus twice the border plus one, so the window overhangs
// the right and bottom edges by one pixel more than the left and top ones.
// Any number of panels on any sides is covered, as the desktop has already
// taken them off; with one taskbar along one edge this is the taskbar rule
// of old.
//   1920 x 1080, a 40-pixel bottom taskbar: usable {0, 0, 1920, 1040},
//   border 3 -> {-3, -3, 1927, 1047}
// A usable rectangle that is empty or lies off the monitor (a desktop that
// reports nonsense) gives the whole monitor.
rt::Rect workAreaFromUsable(const rt::Rect& monitor, const rt::Rect& usable, int border);

// Maximised is not a stored flag: the window is maximised exactly when it
// covers the work area.
inline bool isMaximisedRect(const rt::Rect& window, const rt::Rect& workArea) { return window == workArea; }

}  // namespace app
