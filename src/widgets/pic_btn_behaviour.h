// The graphic button's mouse rules as a state machine that needs no display:
// the glue feeds it presses, moves and releases and applies what it answers
// (repaint on a change, click after the repaint).
#pragma once

#include <array>
#include <cstdint>

#include "double_click.h"
#include "pic_btn_props.h"

namespace widgets {

enum class VisualState { kNormal = 0, kHover = 1, kPressed = 2 };

// Which picture to show: the disabled one when disabled and present, else
// hover or pressed for those states when present, else the normal one.
// Gives -1 when that picture is missing too.
int shownPicture(bool enabled, VisualState state, const std::array<bool, pic_btn::kPictureCount>& present);

class PicBtnBehaviour {
public:
    struct Outcome {
        bool changed = false;  // the visual state changed: rebuild the shape and repaint now
        bool click = false;    // raise the click event, after the repaint
    };

    PicBtnBehaviour(int type, bool latched);

    // Left button pressed inside the button (a second press of a double
    // click is ignored: no pressed picture, no capture).
    Outcome press(int x, int y, uint32_t timeMs);
    // Pointer moved; `over` says the pointer is over this button (inside
    // its shape), `leftHeld` whether the left button is down.
    Outcome move(bool over, bool leftHeld);
    // Left button released; `inside` is the client rectangle test.
    Outcome release(bool inside);
    // A click that comes without a pointer (assistive technology): a press
    // and release in one, which a disabled button refuses.
    Outcome activate();

    Outcome setEnabled(bool enabled);
    Outcome setLatched(bool latched);
    // Takes effect at the next mouse action; it does not repaint.
    void setType(int type);

    VisualState state() const { return state_; }
    bool captured() const { return captured_; }
    bool latched() const { return latched_; }
    int type() const { return type_; }
    bool enabled() const { return enabled_; }
    DoubleClickTracker& doubleClicks() { return doubleClicks_; }

private:
    Outcome to(VisualState s);
    bool toggle() const { return type_ == pic_btn::kToggleButton; }

    int type_;
    bool latched_;
    bool enabled_ = true;
    bool captured_ = false;
    VisualState state_ = VisualState::kNormal;
    DoubleClickTracker doubleClicks_;
};

}  // namespace widgets
