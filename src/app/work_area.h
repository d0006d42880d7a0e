// Where a maximised main window goes: the screen minus the taskbar, widened
// by the border so that the painted border hangs off-screen. Plain arithmetic,
// no display needed.
#pragma once

#include <optional>

#include "runtime/component.h"

namespace app {

// A rectangle by its edges, right and bottom exclusive, in screen pixels.
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};

// The work area for a taskbar rectangle on a screen of the given size whose
// origin is (0, 0). The four edge tests run in order (top, bottom, left,
// right), each later match replacing an earlier one. Without a taskbar, or
// when no test gives a usable area (a taskbar touching no edge, or one that
// covers the screen), the whole screen is used. The result is then widened:
// left and top minus the border, width and height plus twice the border plus
// one, so the window overhangs the right and bottom edges by one pixel more
// than the left and top ones.
//   1920 x 1080, taskbar {0, 1040, 1920, 1080}, border 3 -> {-3, -3, 1927, 1047}
rt::Rect workAreaFromTaskbar(const std::optional<Edges>& taskbar, int screenWidth, int screenHeight, int border);

// The desktop reports the usable part of a monitor rather than a taskbar
// window. The taskbar is taken as the full-width or full-height strip along
// the side with the widest gap between the two; none when they are equal.
// Both rectangles are relative to the monitor's origin.
std::optional<Edges> taskbarFromWorkArea(int screenWidth, int screenHeight, const rt::Rect& usable);

// Maximised is not a stored flag: the window is maximised exactly when it
// covers the work area.
inline bool isMaximisedRect(const rt::Rect& window, const rt::Rect& workArea) { return window == workArea; }

}  // namespace app
