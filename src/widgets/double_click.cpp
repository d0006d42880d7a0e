#include "double_click.h"

#include <gtk/gtk.h>

#include <cstdlib>

namespace widgets {

void DoubleClickTracker::configureFromDesktop() {
    int time = static_cast<int>(time_), distance = distance_;
    if (GtkSettings* s = gtk_settings_get_default())
        g_object_get(s, "gtk-double-click-time", &time, "gtk-double-click-distance", &distance, nullptr);
    configure(static_cast<uint32_t>(time), distance);
}

bool DoubleClickTracker::isDoubleClick(int x, int y, uint32_t timeMs) {
    bool twice = armed_ && timeMs - at_ <= time_ && std::abs(x - x_) <= distance_ && std::abs(y - y_) <= distance_;
    armed_ = !twice;
    x_ = x, y_ = y, at_ = timeMs;
    return twice;
}

}  // namespace widgets
