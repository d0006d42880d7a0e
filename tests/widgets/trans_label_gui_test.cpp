// The transparent label on a real display: only its text is painted, over
// whatever lies below, and every change leaves no remains of the old text.
#include "pic_btn_gui_fixture.h"
#include "runtime/colour.h"
#include "support/atk_probe.h"
#include "widgets/trans_label_block.h"

namespace {

constexpr uint32_t kGreen = 0x00A000;  // what lies below, as the screen shows it
constexpr int kWidth = 120, kHeight = 20;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

class TransLabelWindowTest : public WidgetWindowTest {
protected:
    void SetUp() override {
        WidgetWindowTest::SetUp();
        runtime::WindowDescription w;
        w.rect = {100, 100, 200, 60};
        runtime::ComponentDescription label;
        label.kind = "TransLabel";
        label.name = "label";
        label.rect = {10, 10, kWidth, kHeight};
        widgets::TransLabelBlock block;
        block.effect = widgets::trans_label::kRaised;
        block.textColour = runtime::rgb(0xFF, 0, 0);
        block.verticalAlign = widgets::trans_label::kMiddle;
        block.text = "WWWW";
        label.block = block.serialize();
        runtime::ComponentDescription below;
        below.kind = "Label";
        below.name = "below";
        below.rect = {0, 0, 200, 60};
        runtime::LabelBlock lb;
        lb.background = runtime::rgb(0, 0xA0, 0);
        below.block = lb.serialize();
        w.components = {label, below};
        xdotool("mousemove 0 0");
        win = open(w);
        ref = *runtime.find(win.window, "label");
        ASSERT_TRUE(waitFor([&] { return !box(isRed).empty(); })) << "the text never showed";
    }

    static bool isRed(uint32_t p) { return (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40; }
    static bool isWhite(uint32_t p) { return (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0 && (p & 0xFF) > 0xC0; }

    // Bounding box of the pixels that pass `test`.
    Box box(bool (*test)(uint32_t)) const {
        Grab g = grab(ref, kWidth, kHeight);
        Box b;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                if (test(g.at(x, y))) {
                    b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
                }
        return b;
    }

    int countOf(uint32_t colour, int fromX = 0) const {
        Grab g = grab(ref, kWidth, kHeight);
        int n = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = fromX; x < g.width; ++x) n += g.at(x, y) == colour;
        return n;
    }

    runtime::ComponentRef win, ref;
};

TEST_F(TransLabelWindowTest, OnlyTheTextIsPaintedOverWhatLiesBelow) {
    EXPECT_EQ(pixelOf(ref, kWidth - 2, 1), kGreen);
    EXPECT_EQ(pixelOf(ref, 0, 0), kGreen);
    EXPECT_GT(countOf(kGreen), kWidth * kHeight / 2);
    screenshot("trans_label_raised");
}

TEST_F(TransLabelWindowTest, RaisedTextSitsOnePixelRightAndBelowItsWhiteCopy) {
    Box raised = box(isRed);
    Box white = box(isWhite);
    ASSERT_FALSE(white.empty());
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kEffect), widgets::trans_label::kNoEffect);
    Box plain = box(isRed);
    EXPECT_TRUE(box(isWhite).empty());
    EXPECT_EQ(raised.left, plain.left + 1);
    EXPECT_EQ(raised.top, plain.top + 1);
    EXPECT_EQ(raised.right, plain.right + 1);
    EXPECT_EQ(white.left, plain.left);
    // The white shadow of effect 1 is the other way round.
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kEffect), widgets::trans_label::kWhiteShadow);
    EXPECT_EQ(box(isRed).left, plain.left);
    EXPECT_EQ(box(isWhite).right, plain.right + 1);
}

TEST_F(TransLabelWindowTest, ShorterOrEmptyTextLeavesNoRemains) {
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kText), std::string("WWWWWWWWWW"));
    int longRight = box(isRed).right;
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kText), std::string("W"));
    Box shortBox = box(isRed);
    ASSERT_FALSE(shortBox.empty());
    EXPECT_LT(shortBox.right, longRight);
    // Everything right of the one letter and its white copy is the green below.
    EXPECT_EQ(countOf(kGreen, shortBox.right + 2), (kWidth - shortBox.right - 2) * kHeight);
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kText), std::string());
    EXPECT_EQ(countOf(kGreen), kWidth * kHeight);
}

TEST_F(TransLabelWindowTest, HidingAndMovingShowTheBackgroundAgain) {
    runtime.set(ref, runtime::prop::kVisible, false);
    EXPECT_TRUE(waitFor([&] { return countOf(kGreen) == kWidth * kHeight; }));
    runtime.set(ref, runtime::prop::kVisible, true);
    EXPECT_TRUE(waitFor([&] { return !box(isRed).empty(); }));
    auto [oldX, oldY] = screen(ref, 0, 0);
    runtime.set(ref, runtime::prop::kTop, 35);
    EXPECT_TRUE(waitFor([&] {
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixel(oldX + x, oldY + y) != kGreen) return false;
        return true;
    }));
}

TEST_F(TransLabelWindowTest, PropertiesAreStoredClampedAndCopied) {
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kEffect), 7);
    EXPECT_EQ(runtime::asInt(runtime.get(ref, runtime::prop::own(widgets::trans_label::kEffect))), 3);
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kHorizontalAlign), -4);
    EXPECT_EQ(runtime::asInt(runtime.get(ref, runtime::prop::own(widgets::trans_label::kHorizontalAlign))), 0);
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kVerticalAlign), 9);
    EXPECT_EQ(runtime::asInt(runtime.get(ref, runtime::prop::own(widgets::trans_label::kVerticalAlign))), 2);
    runtime.set(ref, runtime::prop::own(widgets::trans_label::kText), std::string("热搜："));
    auto copy = runtime.copy(ref);
    ASSERT_TRUE(copy);
    EXPECT_EQ(runtime::asText(runtime.get(*copy, runtime::prop::own(widgets::trans_label::kText))), "热搜：");
    EXPECT_EQ(runtime::asInt(runtime.get(*copy, runtime::prop::own(widgets::trans_label::kEffect))), 3);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TransLabelWindowTest, AccessibleLabelReadsItsTextAndAClickableOneIsALink) {
    using namespace testsupport;
    AtkObject* a = accessibleOf(runtime, ref);
    ASSERT_TRUE(a);
    EXPECT_EQ(atk_object_get_role(a), ATK_ROLE_LABEL);
    EXPECT_EQ(nameOf(a), "WWWW");
    EXPECT_TRUE(actionsOf(a).empty());

    // The name follows the text (a progress label reads as it shows).
    AtkLog log;
    log.watch(a);
    runtime.set(ref, widgets::trans_label::kText + 8, std::string("37.5%"));
    EXPECT_TRUE(waitFor([&] { return log.has("name"); }));
    EXPECT_EQ(nameOf(a), "37.5%");
    log.unwatch(a);

    // A label bound to the left press (a hot-search label) is a link whose
    // click raises that press inside the label.
    runtime::WindowDescription w;
    runtime::ComponentDescription hot;
    hot.kind = "TransLabel";
    hot.name = "hot";
    hot.rect = {10, 10, 40, 24};
    widgets::TransLabelBlock block;
    block.text = "合击";
    hot.block = block.serialize();
    std::vector<runtime::Value> pressedAt;
    hot.bindings[runtime::event::kLeftDown] = [&](runtime::Event& e) {
        pressedAt = e.args;
        return runtime::Value{};
    };
    w.components = {hot};
    runtime::ComponentRef other = open(w);
    runtime::ComponentRef link = *runtime.find(other.window, "hot");
    AtkObject* l = accessibleOf(runtime, link);
    EXPECT_EQ(atk_object_get_role(l), ATK_ROLE_LINK);
    EXPECT_EQ(nameOf(l), "合击");
    ASSERT_EQ(actionsOf(l), std::vector<std::string>{"click"});
    ASSERT_TRUE(atk_action_do_action(ATK_ACTION(l), 0));
    ASSERT_TRUE(waitFor([&] { return !pressedAt.empty(); }));
    ASSERT_EQ(pressedAt.size(), 3u);
    EXPECT_EQ(runtime::asInt(pressedAt[0]), 20);
    EXPECT_EQ(runtime::asInt(pressedAt[1]), 12);
    EXPECT_EQ(runtime::asInt(pressedAt[2]), 0);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
