// Tells the second press of a double click from an ordinary press. GTK
// reports that press as a plain press before it announces the double click,
// and the owner-drawn kinds (graphic button, tab control) leave it alone.
#pragma once

#include <cstdint>

namespace widgets {

class DoubleClickTracker {
public:
    explicit DoubleClickTracker(uint32_t timeMs = 400, int distance = 4) : time_(timeMs), distance_(distance) {}
    void configure(uint32_t timeMs, int distance) { time_ = timeMs, distance_ = distance; }
    // Reads GTK's double-click time and distance.
    void configureFromDesktop();

    // `timeMs` wraps, as event times do. Within the double-click time of a
    // first press and no further than the distance from it, a press is the
    // second of a pair; that press does not start another pair, so a third
    // fast press is an ordinary press again.
    bool isDoubleClick(int x, int y, uint32_t timeMs);

private:
    uint32_t time_;
    int distance_;
    bool armed_ = false;
    int x_ = 0, y_ = 0;
    uint32_t at_ = 0;
};

}  // namespace widgets
