#include <gtest/gtest.h>

#include "widgets/pic_btn_behaviour.h"

using widgets::PicBtnBehaviour;
using widgets::shownPicture;
using widgets::VisualState;

namespace {

// Presses far apart in time, so that none makes a double click.
uint32_t later() {
    static uint32_t t = 0;
    return t += 10000;
}

TEST(PicBtnShownPicture, FallsBackToTheNormalPicture) {
    std::array<bool, 4> all{true, true, true, true}, normalOnly{true, false, false, false}, none{};
    EXPECT_EQ(shownPicture(true, VisualState::kNormal, all), widgets::pic_btn::kNormal);
    EXPECT_EQ(shownPicture(true, VisualState::kHover, all), widgets::pic_btn::kHover);
    EXPECT_EQ(shownPicture(true, VisualState::kPressed, all), widgets::pic_btn::kPressed);
    EXPECT_EQ(shownPicture(false, VisualState::kPressed, all), widgets::pic_btn::kDisabled);
    EXPECT_EQ(shownPicture(true, VisualState::kHover, normalOnly), widgets::pic_btn::kNormal);
    EXPECT_EQ(shownPicture(false, VisualState::kNormal, normalOnly), widgets::pic_btn::kNormal);
    EXPECT_EQ(shownPicture(true, VisualState::kPressed, none), -1);
}

TEST(PicBtnBehaviour, ClickOnReleaseInsideShowsNormalFirst) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    EXPECT_TRUE(b.move(true, false).changed);
    EXPECT_EQ(b.state(), VisualState::kHover);
    auto down = b.press(3, 3, later());
    EXPECT_TRUE(down.changed);
    EXPECT_FALSE(down.click);
    EXPECT_EQ(b.state(), VisualState::kPressed);
    EXPECT_TRUE(b.captured());
    auto up = b.release(true);
    EXPECT_TRUE(up.click);
    EXPECT_TRUE(up.changed);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.captured());
}

TEST(PicBtnBehaviour, MovingOffWithTheButtonHeldCancelsTheClick) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.press(3, 3, later());
    b.move(false, true);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_TRUE(b.captured());  // still held: the capture stays
    b.move(true, true);
    EXPECT_EQ(b.state(), VisualState::kPressed);  // back over it: pressed again
    b.move(false, true);
    auto up = b.release(false);
    EXPECT_FALSE(up.click);
    EXPECT_FALSE(up.changed);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.captured());
}

TEST(PicBtnBehaviour, ReleaseInsideClicksWhenThePressStartedElsewhere) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.move(true, true);
    EXPECT_EQ(b.state(), VisualState::kPressed);
    EXPECT_TRUE(b.release(true).click);
}

TEST(PicBtnBehaviour, HoverEndsWhenThePointerLeaves) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.move(true, false);
    EXPECT_TRUE(b.captured());
    EXPECT_FALSE(b.move(true, false).changed);  // no change, no repaint
    EXPECT_TRUE(b.move(false, false).changed);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.captured());
}

TEST(PicBtnBehaviour, FastDoubleClickClicksTwiceWithoutASecondPressedLook) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.doubleClicks().configure(400, 4);
    uint32_t t = later();
    b.press(5, 5, t);
    EXPECT_TRUE(b.release(true).click);
    auto second = b.press(6, 5, t + 150);
    EXPECT_FALSE(second.changed);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_TRUE(b.release(true).click);
    // A third fast press is an ordinary press again.
    b.press(6, 5, t + 300);
    EXPECT_EQ(b.state(), VisualState::kPressed);
}

// The same tracker serves the tab control's headers.
TEST(DoubleClickTracker, EventTimesThatWrapStillPair) {
    widgets::DoubleClickTracker d(400, 5);
    EXPECT_FALSE(d.isDoubleClick(0, 0, 0xFFFFFF00u));
    EXPECT_TRUE(d.isDoubleClick(0, 0, 0x00000010u));
    EXPECT_FALSE(d.isDoubleClick(0, 0, 0x00000020u));
}

TEST(PicBtnBehaviour, SlowOrDistantSecondPressIsAnOrdinaryPress) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.doubleClicks().configure(400, 4);
    uint32_t t = later();
    b.press(5, 5, t);
    b.release(true);
    b.press(5, 5, t + 401);
    EXPECT_EQ(b.state(), VisualState::kPressed);
    b.release(true);
    b.press(5, 5, t + 500);  // a double click with the previous press...
    b.release(true);
    t = later();
    b.press(0, 0, t);
    b.release(true);
    b.press(20, 0, t + 10);  // ...but this one is too far away
    EXPECT_EQ(b.state(), VisualState::kPressed);
}

TEST(PicBtnBehaviour, DisabledButtonIgnoresTheMouse) {
    PicBtnBehaviour b(widgets::pic_btn::kPushButton, false);
    b.move(true, false);
    EXPECT_TRUE(b.setEnabled(false).changed);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.move(true, false).changed);
    EXPECT_FALSE(b.press(1, 1, later()).changed);
    EXPECT_FALSE(b.release(true).click);
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.setEnabled(false).changed);
    EXPECT_TRUE(b.setEnabled(true).changed);
}

TEST(PicBtnBehaviour, ToggleButtonFlipsOnReleaseOnly) {
    PicBtnBehaviour b(widgets::pic_btn::kToggleButton, false);
    EXPECT_FALSE(b.move(true, false).changed);  // no hover look
    EXPECT_FALSE(b.captured());
    EXPECT_FALSE(b.press(1, 1, later()).changed);
    auto up = b.release(true);
    EXPECT_TRUE(up.click);
    EXPECT_TRUE(b.latched());
    EXPECT_EQ(b.state(), VisualState::kPressed);
    b.press(1, 1, later());
    up = b.release(true);
    EXPECT_TRUE(up.click);
    EXPECT_FALSE(b.latched());
    EXPECT_EQ(b.state(), VisualState::kNormal);
    EXPECT_FALSE(b.release(false).click);
    EXPECT_FALSE(b.latched());
}

// A click without a pointer (assistive technology): pressed and released at
// once, refused while disabled or while the pointer holds the button.
TEST(PicBtnBehaviour, ActivationClicksLikeAPressAndRelease) {
    PicBtnBehaviour push(widgets::pic_btn::kPushButton, false);
    auto out = push.activate();
    EXPECT_TRUE(out.click);
    EXPECT_EQ(push.state(), VisualState::kNormal);
    push.press(1, 1, later());
    EXPECT_FALSE(push.activate().click);  // the pointer's press decides
    EXPECT_TRUE(push.release(true).click);
    push.setEnabled(false);
    EXPECT_FALSE(push.activate().click);

    PicBtnBehaviour toggle(widgets::pic_btn::kToggleButton, false);
    EXPECT_TRUE(toggle.activate().click);
    EXPECT_TRUE(toggle.latched());
    EXPECT_EQ(toggle.state(), VisualState::kPressed);
    EXPECT_TRUE(toggle.activate().click);
    EXPECT_FALSE(toggle.latched());
}

TEST(PicBtnBehaviour, LatchedFlagAndTypeWrites) {
    PicBtnBehaviour toggle(7, true);  // a type above 1 counts as 1
    EXPECT_EQ(toggle.type(), widgets::pic_btn::kToggleButton);
    EXPECT_EQ(toggle.state(), VisualState::kPressed);
    EXPECT_TRUE(toggle.setLatched(false).changed);
    EXPECT_EQ(toggle.state(), VisualState::kNormal);

    PicBtnBehaviour push(-3, true);
    EXPECT_EQ(push.type(), widgets::pic_btn::kPushButton);
    EXPECT_EQ(push.state(), VisualState::kNormal);  // latched means nothing to a push button
    push.setType(1);
    EXPECT_EQ(push.type(), widgets::pic_btn::kToggleButton);
    EXPECT_EQ(push.state(), VisualState::kNormal);  // the type write does not redraw
}

}  // namespace
