// The graphic button on a real display: pictures by state, the shape cut out
// of the transparent colour for drawing and for clicks, and the click rules
// driven by real pointer input.
#include "pic_btn_gui_fixture.h"
#include "picture_samples.h"
#include "runtime/colour.h"
#include "runtime/property_block.h"
#include "support/atk_probe.h"
#include "widgets/pic_btn_block.h"

namespace {

constexpr uint32_t kGreen = 0x00A000, kBlue = 0x0000C0, kRed = 0xC00000, kYellow = 0xE0E000;

// A 20 x 20 picture: a white (transparent) ring four pixels wide around a
// square of the given colour.
runtime::Bytes ringPicture(uint32_t centre) {
    return samples::gif(
        20, 20, {0xFFFFFF, centre}, [](int x, int y) { return x >= 4 && y >= 4 && x < 16 && y < 16 ? 1 : 0; }, 0);
}

class PicBtnWindowTest : public WidgetWindowTest {
protected:
    void SetUp() override {
        WidgetWindowTest::SetUp();
        runtime::WindowDescription w;
        w.rect = {100, 100, 200, 100};
        runtime::ComponentDescription button;
        button.kind = "PicBtn";
        button.name = "button";
        button.rect = {20, 20, 20, 20};
        widgets::PicBtnBlock block;
        block.transparentColour = 0x00FFFFFF;
        block.pictures[widgets::pic_btn::kNormal] = ringPicture(kGreen);
        block.pictures[widgets::pic_btn::kHover] = ringPicture(kBlue);
        block.pictures[widgets::pic_btn::kPressed] = ringPicture(kRed);
        button.block = block.serialize();
        button.bindings[widgets::pic_btn::kClick] = [this](runtime::Event& e) {
            ++clicks;
            shownAtClick = pixelOf(e.source, 10, 10);
            return runtime::Value{};
        };
        runtime::ComponentDescription below;
        below.kind = "Label";
        below.name = "below";
        below.rect = {0, 0, 200, 100};
        runtime::LabelBlock lb;
        lb.background = runtime::rgb(0xE0, 0xE0, 0x00);
        below.block = lb.serialize();
        below.bindings[runtime::event::kLeftDown] = [this](runtime::Event&) {
            ++belowPresses;
            return runtime::Value{};
        };
        w.components = {button, below};
        xdotool("mousemove 0 0");  // away from where the button will be
        win = open(w);
        btn = *runtime.find(win.window, "button");
        under = *runtime.find(win.window, "below");
        ASSERT_TRUE(waitFor([&] { return pixelOf(btn, 10, 10) == kGreen; }))
            << std::hex << pixelOf(btn, 10, 10) << " " << pixelOf(under, 150, 80);
        screenshot("pic_btn_window");
    }

    // A press on the window below that is seen to arrive: everything sent
    // before it has been handled by then.
    void sentinel() {
        int before = belowPresses;
        moveTo(under, 150, 80);
        xdotool("click 1");
        ASSERT_TRUE(waitFor([&] { return belowPresses > before; }));
    }

    runtime::ComponentRef win, btn, under;
    int clicks = 0, belowPresses = 0;
    uint32_t shownAtClick = 0;
};

TEST_F(PicBtnWindowTest, PicturesFollowTheMouseAndTheClickSeesTheNormalOne) {
    EXPECT_EQ(pixelOf(btn, 1, 1), kYellow);  // the ring is cut away
    moveTo(btn, 10, 10);
    EXPECT_TRUE(waitFor([&] { return pixelOf(btn, 10, 10) == kBlue; }));
    xdotool("mousedown 1");
    EXPECT_TRUE(waitFor([&] { return pixelOf(btn, 10, 10) == kRed; }));
    xdotool("mouseup 1");
    EXPECT_TRUE(waitFor([&] { return clicks == 1; }));
    EXPECT_EQ(shownAtClick, kGreen);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PicBtnWindowTest, ClicksOnCutAwayPixelsReachTheWindowBelow) {
    moveTo(btn, 1, 1);
    xdotool("click 1");
    EXPECT_TRUE(waitFor([&] { return belowPresses == 1; }));
    moveTo(btn, 10, 10);
    xdotool("click 1");
    EXPECT_TRUE(waitFor([&] { return clicks == 1; }));
    EXPECT_EQ(belowPresses, 1);
}

TEST_F(PicBtnWindowTest, LeavingWithTheButtonHeldCancelsTheClick) {
    moveTo(btn, 10, 10);
    xdotool("mousedown 1");
    EXPECT_TRUE(waitFor([&] { return pixelOf(btn, 10, 10) == kRed; }));
    moveTo(under, 150, 80);
    EXPECT_TRUE(waitFor([&] { return pixelOf(btn, 10, 10) == kGreen; }));
    xdotool("mouseup 1");
    sentinel();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(pixelOf(btn, 10, 10), kGreen);
}

TEST_F(PicBtnWindowTest, DisabledButtonKeepsItsNormalPictureAndNeverClicks) {
    runtime.set(btn, runtime::prop::kDisabled, true);
    moveTo(btn, 10, 10);
    xdotool("click 1");
    sentinel();
    moveTo(btn, 10, 10);
    sentinel();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(pixelOf(btn, 10, 10), kGreen);
    runtime.set(btn, runtime::prop::kDisabled, false);
    moveTo(btn, 10, 10);
    xdotool("click 1");
    EXPECT_TRUE(waitFor([&] { return clicks == 1; }));
}

TEST_F(PicBtnWindowTest, FastDoubleClickClicksTwice) {
    moveTo(btn, 10, 10);
    xdotool("click --repeat 2 --delay 40 1");
    EXPECT_TRUE(waitFor([&] { return clicks == 2; }));
}

TEST_F(PicBtnWindowTest, PropertyWritesRepaintAtOnce) {
    runtime.set(btn, widgets::pic_btn::kNormalPicture + 8, ringPicture(0x808080));
    // No main-loop turn in between: the write itself painted.
    EXPECT_EQ(pixelOf(btn, 10, 10), 0x808080u);
    runtime.set(
        btn, widgets::pic_btn::kTransparentColour + 8, static_cast<int32_t>(widgets::pic_btn::kNoTransparentColour));
    EXPECT_EQ(pixelOf(btn, 1, 1), 0xFFFFFFu);  // no shape: the white ring shows
    EXPECT_EQ(runtime::asInt(runtime.get(btn, widgets::pic_btn::kTransparentColour + 8)),
        static_cast<int32_t>(widgets::pic_btn::kNoTransparentColour));
    runtime.set(btn, widgets::pic_btn::kType + 8, 5);
    EXPECT_EQ(runtime::asInt(runtime.get(btn, widgets::pic_btn::kType + 8)), 1);
}

TEST_F(PicBtnWindowTest, CopiesCarryPicturesAndNewerBlocksAreRefused) {
    auto copy = runtime.copy(btn);
    ASSERT_TRUE(copy);
    EXPECT_EQ(runtime::asBytes(runtime.get(*copy, widgets::pic_btn::kHoverPicture + 8)), ringPicture(kBlue));
    EXPECT_EQ(runtime::asInt(runtime.get(*copy, widgets::pic_btn::kTransparentColour + 8)), 0x00FFFFFF);

    runtime::WindowDescription w;
    runtime::ComponentDescription c;
    c.kind = "PicBtn";
    c.name = "newer";
    c.rect = {0, 0, 10, 10};
    c.block = runtime::BlockWriter().u32(2).u32(0).u32(0).u32(0).bytes({}).bytes({}).bytes({}).bytes({}).take();
    w.components = {c};
    runtime::ComponentRef other = runtime.loadWindow(w);
    EXPECT_FALSE(runtime.find(other.window, "newer"));
}

TEST_F(PicBtnWindowTest, AccessibleButtonCarriesItsNameAndClicksLikeTheMouse) {
    using namespace testsupport;
    AtkObject* a = accessibleOf(runtime, btn);
    ASSERT_TRUE(a);
    EXPECT_EQ(atk_object_get_role(a), ATK_ROLE_PUSH_BUTTON);
    EXPECT_EQ(actionsOf(a), std::vector<std::string>{"click"});
    EXPECT_TRUE(hasState(a, ATK_STATE_ENABLED));
    EXPECT_TRUE(hasState(a, ATK_STATE_SHOWING));
    // A picture-only label below is decoration, not an unnamed panel.
    EXPECT_EQ(atk_object_get_role(accessibleOf(runtime, under)), ATK_ROLE_FILLER);

    AtkLog log;
    log.watch(a);
    runtime.setAccessibleText(btn, "后退", "回到上一页");
    EXPECT_TRUE(waitFor([&] { return log.has("name") && log.has("description"); }));
    EXPECT_EQ(nameOf(a), "后退");
    EXPECT_EQ(descriptionOf(a), "回到上一页");

    ASSERT_TRUE(atk_action_do_action(ATK_ACTION(a), 0));
    EXPECT_TRUE(waitFor([&] { return clicks == 1; }));
    EXPECT_EQ(pixelOf(btn, 10, 10), kGreen);  // no pressed picture left behind

    // Greyed: not enabled, and a click asked for is refused like the mouse's.
    runtime.set(btn, runtime::prop::kDisabled, true);
    EXPECT_TRUE(waitFor([&] { return log.has("-enabled"); }));
    EXPECT_FALSE(hasState(a, ATK_STATE_ENABLED));
    EXPECT_FALSE(hasState(a, ATK_STATE_SENSITIVE));
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(a), 0));
    runtime.set(btn, runtime::prop::kDisabled, false);
    EXPECT_TRUE(waitFor([&] { return log.has("+enabled"); }));

    runtime.set(btn, runtime::prop::kVisible, false);
    EXPECT_TRUE(waitFor([&] { return log.has("-showing"); }));
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(a), 0));
    runtime.set(btn, runtime::prop::kVisible, true);

    // A copy is read as its source; a destroyed one is gone for clients.
    auto copy = runtime.copy(btn);
    ASSERT_TRUE(copy);
    AtkObject* c = accessibleOf(runtime, *copy);
    EXPECT_EQ(nameOf(c), "后退");
    EXPECT_EQ(descriptionOf(c), "回到上一页");
    g_object_ref(c);
    runtime.destroy(*copy);
    EXPECT_TRUE(hasState(c, ATK_STATE_DEFUNCT));
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(c), 0));
    g_object_unref(c);
    log.unwatch(a);
    drain();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
