#include "resize_zones.h"

#include "runtime/component.h"

namespace app {

ResizeZone resizeZoneAt(int x, int y, int width, int height) {
    const bool left = x < kGripReach;
    const bool right = x > width - kGripReach;
    const bool top = y < kGripReach;
    const bool bottom = y > height - kGripReach;
    // On a panel narrower than the grip both sides hold; the corners win as
    // the table lists them, left before right and top before bottom.
    if (left && top) return kZoneTopLeft;
    if (right && top) return kZoneTopRight;
    if (right && bottom) return kZoneBottomRight;
    if (left && bottom) return kZoneBottomLeft;
    if (top) return kZoneTop;
    if (right) return kZoneRight;
    if (bottom) return kZoneBottom;
    if (left) return kZoneLeft;
    return kZoneNone;
}

int zoneCursor(int zone) {
    switch (zone) {
        case kZoneTopLeft:
        case kZoneBottomRight: return runtime::cursor::kSizeNwse;
        case kZoneTopRight:
        case kZoneBottomLeft: return runtime::cursor::kSizeNesw;
        case kZoneTop:
        case kZoneBottom: return runtime::cursor::kSizeNs;
        case kZoneLeft:
        case kZoneRight: return runtime::cursor::kSizeWe;
        default: return runtime::cursor::kArrow;
    }
}

}  // namespace app
