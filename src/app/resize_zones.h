// The resize grip of the frameless main window: which zone of the border
// panel the mouse is in, the cursor each zone shows, and the frame edge a
// press there resizes. Plain arithmetic, no display needed.
#pragma once

namespace app {

// Zones 1 to 8 run clockwise from the top-left corner; 0 is the interior.
enum ResizeZone {
    kZoneNone = 0,
    kZoneTopLeft = 1,
    kZoneTop,
    kZoneTopRight,
    kZoneRight,
    kZoneBottomRight,
    kZoneBottom,
    kZoneBottomLeft,
    kZoneLeft
};

// The grip reaches this far in from each edge: x < 7 is left, x > W - 7 right.
inline constexpr int kGripReach = 7;

// The zone of point (x, y) on a panel of width W and height H.
ResizeZone resizeZoneAt(int x, int y, int width, int height);

// The system cursor id (runtime::cursor) a zone shows.
int zoneCursor(int zone);

// Only the eight edge zones start the system's interactive resize.
inline bool zoneStartsResize(int zone) { return zone >= kZoneTopLeft && zone <= kZoneLeft; }

}  // namespace app
