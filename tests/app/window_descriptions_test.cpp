// The two windows load whole: every component of the descriptions is
// created (no property block refused) at its design place.
#include "app/window_descriptions.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/runtime.h"
#include "support/gui_wait.h"
#include "tabs/main_ui.h"
#include "widgets/widget_kinds.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class WindowDescriptionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }
    void SetUp() override {
        rt::registerBuiltinKinds(runtime);
        widgets::registerWidgetKinds(runtime);
    }
    // The window alone, without the program's start-up running in it.
    rt::ComponentRef load(rt::WindowDescription d) {
        d.bindings.clear();
        return runtime.loadWindow(d);
    }
    rt::Runtime runtime;
};

TEST_F(WindowDescriptionTest, MainWindowHasFortyOneUniqueComponentsBorderPanelAtTheBottom) {
    rt::WindowDescription d = app::mainWindowDescription();
    EXPECT_EQ(d.rect, (rt::Rect{50, 50, 1030, 750}));
    ASSERT_EQ(d.components.size(), 41u);
    std::set<std::string> names, aliases;
    for (const auto& c : d.components) {
        names.insert(c.name);
        aliases.insert(c.alias);
    }
    EXPECT_EQ(names.size(), 41u);
    EXPECT_EQ(aliases.size(), 41u);
    EXPECT_EQ(d.components.back().name, ui::name::kBorderPanel);
    EXPECT_EQ(d.components.back().kind, "DrawPanel");
}

TEST_F(WindowDescriptionTest, MainWindowLoadsEveryComponentAtItsDesignPlace) {
    rt::WindowDescription d = app::mainWindowDescription();
    rt::ComponentRef w = load(d);
    auto loaded = runtime.components(w.window);
    ASSERT_EQ(loaded.size(), d.components.size()) << "a component refused its property block";
    for (size_t i = 0; i < loaded.size(); ++i) {
        const auto& c = d.components[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runtime.nameOf(loaded[i]), c.name);
        EXPECT_EQ(rt::asInt(runtime.get(loaded[i], rt::prop::kLeft)), c.rect.left);
        EXPECT_EQ(rt::asInt(runtime.get(loaded[i], rt::prop::kTop)), c.rect.top);
        EXPECT_EQ(rt::asInt(runtime.get(loaded[i], rt::prop::kWidth)), c.rect.width);
        EXPECT_EQ(rt::asInt(runtime.get(loaded[i], rt::prop::kHeight)), c.rect.height);
        EXPECT_EQ(rt::asBool(runtime.get(loaded[i], rt::prop::kVisible)), c.visible);
    }
    // The templates and the buttons shown only on demand start hidden.
    for (const char* hidden : {ui::name::kTemplateBrowser, ui::name::kTemplateCloseButton, ui::name::kStopButton,
                               ui::name::kRestoreButton}) {
        SCOPED_TRACE(hidden);
        EXPECT_FALSE(rt::asBool(runtime.get(*runtime.find(w.window, hidden), rt::prop::kVisible)));
    }
    EXPECT_EQ(rt::asInt(runtime.get(*runtime.find(w.window, ui::name::kHotLabel1), rt::prop::kCursor)),
              rt::cursor::kHand);
    EXPECT_EQ(rt::asInt(runtime.get(*runtime.find(w.window, ui::name::kHotCaption), rt::prop::kCursor)),
              rt::cursor::kDefault);
    EXPECT_TRUE(rt::asBool(runtime.get(*runtime.find(w.window, ui::name::kBackDisabledButton), rt::prop::kDisabled)));
    EXPECT_EQ(rt::asText(runtime.get(*runtime.find(w.window, ui::name::kSearchBox), rt::prop::own(0))), "输入关键字");
    EXPECT_EQ(rt::asText(runtime.get(*runtime.find(w.window, ui::name::kAddressBox), rt::prop::own(0))),
              "输入网址或关键字");
}

TEST_F(WindowDescriptionTest, StatusWindowLoadsHiddenWithItsLabelAndStoppedTimer) {
    rt::ComponentRef w = load(app::statusWindowDescription());
    EXPECT_FALSE(rt::asBool(runtime.get(w, rt::prop::kVisible)));
    EXPECT_EQ(rt::asInt(runtime.get(w, rt::prop::kWidth)), 495);
    auto timer = runtime.find(w.window, ui::name::kFadeTimer);
    ASSERT_TRUE(timer);
    EXPECT_EQ(rt::asInt(runtime.get(*timer, rt::prop::own(rt::timer::kInterval))), 0);
    auto label = runtime.find(w.window, ui::name::kStatusTextLabel);
    ASSERT_TRUE(label);
    EXPECT_EQ(rt::asInt(runtime.get(*label, rt::prop::kWidth)), 471);
}

}  // namespace
