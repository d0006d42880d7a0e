#include "work_area.h"

#include <algorithm>

namespace app {

runtime::Rect workAreaFromUsable(const runtime::Rect& monitor, const runtime::Rect& usable, int border) {
    // Only the part of the usable rectangle on the monitor counts.
    const int left = std::max(monitor.left, usable.left);
    const int top = std::max(monitor.top, usable.top);
    const int right = std::min(monitor.left + monitor.width, usable.left + usable.width);
    const int bottom = std::min(monitor.top + monitor.height, usable.top + usable.height);
    runtime::Rect area = monitor;
    if (usable.width > 0 && usable.height > 0 && right > left && bottom > top)
        area = {left, top, right - left, bottom - top};
    return {area.left - border, area.top - border, area.width + 2 * border + 1, area.height + 2 * border + 1};
}

namespace {
bool hasMaximisedSize(const runtime::Rect& r, int maximisedWidth, int maximisedHeight) {
    return r.width == maximisedWidth && r.height == maximisedHeight;
}
}  // namespace

void noteReported(PlacingState& state, const runtime::Rect& reported, int maximisedWidth, int maximisedHeight) {
    if (state.restoring && !state.placing && !hasMaximisedSize(reported, maximisedWidth, maximisedHeight))
        state.restoring = false;
}

bool needsPutBack(const runtime::Rect& reported, const runtime::Rect& workArea, int maximisedWidth, int maximisedHeight,
    const PlacingState& state) {
    return !state.placing && !state.restoring && !isMaximisedRect(reported, workArea) &&
           hasMaximisedSize(reported, maximisedWidth, maximisedHeight);
}

}  // namespace app
