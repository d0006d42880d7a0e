#include "work_area.h"

#include <algorithm>

namespace app {

rt::Rect workAreaFromTaskbar(const std::optional<Edges>& taskbar, int screenWidth, int screenHeight, int border) {
    rt::Rect area{0, 0, screenWidth, screenHeight};
    if (taskbar) {
        const int L = taskbar->left, T = taskbar->top, R = taskbar->right, B = taskbar->bottom;
        const int SW = screenWidth, SH = screenHeight;
        rt::Rect found{};
        bool matched = false;
        if (T <= 0 && L <= 0 && R >= SW) found = {0, B, SW, SH - B}, matched = true;
        if (L <= 0 && R >= SW && B >= SH) found = {0, 0, SW, T}, matched = true;
        if (T <= 0 && L <= 0 && B >= SH) found = {R, 0, SW - R, SH}, matched = true;
        if (T <= 0 && R >= SW && B >= SH) found = {0, 0, L, SH}, matched = true;
        // A taskbar that covers the whole screen matches every test and
        // leaves no room; the window then takes the whole screen rather
        // than vanishing.
        if (matched && found.width > 0 && found.height > 0) area = found;
    }
    return {area.left - border, area.top - border, area.width + 2 * border + 1, area.height + 2 * border + 1};
}

std::optional<Edges> taskbarFromWorkArea(int screenWidth, int screenHeight, const rt::Rect& usable) {
    const int gapTop = usable.top;
    const int gapBottom = screenHeight - (usable.top + usable.height);
    const int gapLeft = usable.left;
    const int gapRight = screenWidth - (usable.left + usable.width);
    const int widest = std::max({gapTop, gapBottom, gapLeft, gapRight});
    if (widest <= 0) return std::nullopt;
    if (widest == gapTop) return Edges{0, 0, screenWidth, gapTop};
    if (widest == gapBottom) return Edges{0, screenHeight - gapBottom, screenWidth, screenHeight};
    if (widest == gapLeft) return Edges{0, 0, gapLeft, screenHeight};
    return Edges{screenWidth - gapRight, 0, screenWidth, screenHeight};
}

}  // namespace app
