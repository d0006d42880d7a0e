// Tells the second press of a double click from an ordinary press. GTK
// reports that press as a plain press before it announces the double
// click, but the tab control must leave it alone.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace widgets::pagectl {

class DoubleClickFilter {
public:
    DoubleClickFilter(int timeMs, int distance) : timeMs_(timeMs), distance_(distance) {}

    // `time` in milliseconds (wrapping, as event times do). A press that
    // completes a double click disarms the filter, so a third press counts
    // as a fresh first press.
    bool isSecondPress(uint32_t time, int x, int y) {
        bool second = armed_ && time - lastTime_ <= static_cast<uint32_t>(timeMs_) &&
                      std::abs(x - lastX_) <= distance_ && std::abs(y - lastY_) <= distance_;
        armed_ = !second;
        lastTime_ = time;
        lastX_ = x;
        lastY_ = y;
        return second;
    }

private:
    int timeMs_, distance_;
    bool armed_ = false;
    uint32_t lastTime_ = 0;
    int lastX_ = 0, lastY_ = 0;
};

}  // namespace widgets::pagectl
