#include "pic_btn_behaviour.h"

#include <cstdlib>

#include "pic_btn_block.h"

namespace widgets {

int shownPicture(bool enabled, VisualState state, const std::array<bool, pic_btn::kPictureCount>& present) {
    if (!enabled && present[pic_btn::kDisabled]) return pic_btn::kDisabled;
    if (state == VisualState::kHover && present[pic_btn::kHover]) return pic_btn::kHover;
    if (state == VisualState::kPressed && present[pic_btn::kPressed]) return pic_btn::kPressed;
    return present[pic_btn::kNormal] ? pic_btn::kNormal : -1;
}

PicBtnBehaviour::PicBtnBehaviour(int type, bool latched) : type_(clampButtonType(type)), latched_(latched) {
    if (toggle() && latched_) state_ = VisualState::kPressed;
}

PicBtnBehaviour::Outcome PicBtnBehaviour::to(VisualState s) {
    if (s == state_) return {};
    state_ = s;
    return {true, false};
}

PicBtnBehaviour::Outcome PicBtnBehaviour::press(int x, int y, uint32_t timeMs) {
    if (doubleClicks_.isDoubleClick(x, y, timeMs)) return {};
    if (!enabled_ || toggle()) return {};
    captured_ = true;
    return to(VisualState::kPressed);
}

PicBtnBehaviour::Outcome PicBtnBehaviour::move(bool over, bool leftHeld) {
    if (!enabled_) return {};
    if (toggle()) {
        captured_ = false;
        return {};
    }
    if (over) {
        captured_ = true;
        return to(leftHeld ? VisualState::kPressed : VisualState::kHover);
    }
    // Holding the button keeps the capture, so coming back over the button
    // shows it pressed again and a release there still clicks.
    if (!leftHeld) captured_ = false;
    return to(VisualState::kNormal);
}

PicBtnBehaviour::Outcome PicBtnBehaviour::release(bool inside) {
    captured_ = false;
    if (!inside || !enabled_) return {};
    Outcome out;
    if (toggle()) {
        latched_ = !latched_;
        out = to(latched_ ? VisualState::kPressed : VisualState::kNormal);
    } else {
        out = to(VisualState::kNormal);
    }
    out.click = true;
    return out;
}

PicBtnBehaviour::Outcome PicBtnBehaviour::activate() {
    // A pointer that holds the button keeps it: the click is the pointer's.
    if (captured_) return {};
    return release(true);
}

PicBtnBehaviour::Outcome PicBtnBehaviour::setEnabled(bool enabled) {
    if (enabled == enabled_) return {};
    enabled_ = enabled;
    captured_ = false;
    // A disabled button keeps the normal state; either way the picture
    // changes (to or from the disabled one), so a repaint is due.
    if (!enabled) to(VisualState::kNormal);
    else if (toggle() && latched_) to(VisualState::kPressed);
    return {true, false};
}

PicBtnBehaviour::Outcome PicBtnBehaviour::setLatched(bool latched) {
    latched_ = latched;
    if (!toggle()) return {true, false};
    to(latched_ ? VisualState::kPressed : VisualState::kNormal);
    return {true, false};
}

void PicBtnBehaviour::setType(int type) { type_ = clampButtonType(type); }

}  // namespace widgets
