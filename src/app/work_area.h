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
runtime::Rect workAreaFromUsable(const runtime::Rect& monitor, const runtime::Rect& usable, int border);

// Maximised is not a stored flag: the window is maximised exactly when it
// covers the work area.
inline bool isMaximisedRect(const runtime::Rect& window, const runtime::Rect& workArea) { return window == workArea; }

// What the program knows of its own placing when the system reports that
// the window moved or changed size.
struct PlacingState {
    // Placed on the work area and not restored since.
    bool standsMaximised = false;
    // The program is placing the window itself right now (maximising,
    // restoring, putting back); the reports of its steps are not moves.
    bool placing = false;
    // Restored, and no size but the maximised one reported since. On X a
    // move is sent at once while a new size waits for the next frame, so a
    // restore is first reported at its normal place with the maximised
    // size, and the window manager's answers to such steps can arrive
    // after the program has finished asking.
    bool restoring = false;
};

// Takes in a reported rectangle: the first size other than the maximised
// one after a restore ends it, as the program asks for no maximised size
// until it maximises again, so no in-between step can follow.
void noteReported(PlacingState& state, const runtime::Rect& reported, int maximisedWidth, int maximisedHeight);

// Whether a reported rectangle is a maximised window that was moved off
// its work area and so goes back there: one of exactly the maximised size
// (the size it had when last placed on the work area), not on the work
// area, and neither a step of the program's own placing nor of a restore
// still on its way (putting that back would undo the restore).
bool needsPutBack(const runtime::Rect& reported, const runtime::Rect& workArea, int maximisedWidth, int maximisedHeight,
    const PlacingState& state);

}  // namespace app
