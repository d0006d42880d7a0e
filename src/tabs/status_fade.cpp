#include "status_fade.h"

namespace tabs {

void StatusFade::startIn() {
    direction_ = 1;
    running_ = true;
    opacity_ = 0;
}

void StatusFade::startOut() {
    direction_ = 0;
    running_ = true;
}

StatusFade::Tick StatusFade::tick() {
    if (direction_ == 1 && opacity_ < maxOpacity_) {
        opacity_ += kStep;
        return Tick::kOpacityChanged;
    }
    if (direction_ == 0) {
        if (opacity_ > 1) {
            opacity_ -= kStep;
            return Tick::kOpacityChanged;
        }
        running_ = false;
        return Tick::kHideAndStop;
    }
    running_ = false;
    return Tick::kStopped;
}

bool isDoneStatus(std::string_view text) { return text.empty() || text == "Done" || text == "完毕"; }

StatusTextAction statusTextAction(
    bool windowLoaded, bool fadeRunning, bool fromCurrentTab, std::string_view text, bool windowVisible) {
    if (!windowLoaded || fadeRunning) return StatusTextAction::kIgnore;
    if (!fromCurrentTab) return StatusTextAction::kRefreshSelection;
    if (isDoneStatus(text)) return windowVisible ? StatusTextAction::kFadeOut : StatusTextAction::kNothing;
    return StatusTextAction::kShowText;
}

double opacityFraction(int32_t alpha) {
    if (alpha < 0 || alpha > 255) alpha = 255;
    return alpha / 255.0;
}

}  // namespace tabs
