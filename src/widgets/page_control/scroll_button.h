// One of the two scroll buttons of a single-row header strip: where it
// stands and its four-state look (normal, hot, pressed, disabled).
#pragma once

namespace widgets::page_control {

enum class ButtonState { kNormal = 0, kHot = 1, kPressed = 2, kDisabled = 3 };

struct ButtonBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The state follows the pointer the way a small push button does: hovering
// makes it hot, a press holds it down until released or left, and a
// disabled button ignores all of it. release() says whether the press
// completed on the button (the scroll then happens).
class ScrollButton {
public:
    static constexpr int kSize = 13;

    ButtonState state() const { return state_; }
    bool visible() const { return visible_; }
    const ButtonBox& box() const { return box_; }

    void place(const ButtonBox& box, bool visible) {
        box_ = box;
        visible_ = visible;
    }
    void setEnabled(bool enabled) {
        if (enabled == (state_ != ButtonState::kDisabled)) return;
        state_ = enabled ? ButtonState::kNormal : ButtonState::kDisabled;
    }
    void enter() {
        if (state_ == ButtonState::kNormal) state_ = ButtonState::kHot;
    }
    void leave() {
        if (state_ != ButtonState::kDisabled) state_ = ButtonState::kNormal;
    }
    void press() {
        if (state_ != ButtonState::kDisabled) state_ = ButtonState::kPressed;
    }
    bool release() {
        if (state_ != ButtonState::kPressed) return false;
        state_ = ButtonState::kNormal;
        return true;
    }

private:
    ButtonBox box_;
    bool visible_ = false;
    ButtonState state_ = ButtonState::kNormal;
};

}  // namespace widgets::page_control
