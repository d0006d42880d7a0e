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
        runtime::registerBuiltinKinds(runtime);
        widgets::registerWidgetKinds(runtime);
    }
    // The window alone, without the program's start-up running in it.
    runtime::ComponentRef load(runtime::WindowDescription d) {
        d.bindings.clear();
        return runtime.loadWindow(d);
    }
    runtime::Runtime runtime;
};

TEST_F(WindowDescriptionTest, MainWindowHasFortyOneUniqueComponentsBorderPanelAtTheBottom) {
    runtime::WindowDescription d = app::mainWindowDescription();
    EXPECT_EQ(d.rect, (runtime::Rect{50, 50, 1030, 750}));
    ASSERT_EQ(d.components.size(), 41u);
    std::set<std::string> names, aliases;
    for (const auto& c : d.components) {
        names.insert(c.name);
        aliases.insert(c.alias);
    }
    EXPECT_EQ(names.size(), 41u);
    EXPECT_EQ(aliases.size(), 41u);
    EXPECT_EQ(d.components.back().name, tabs::name::kBorderPanel);
    EXPECT_EQ(d.components.back().kind, "DrawPanel");
}

TEST_F(WindowDescriptionTest, MainWindowLoadsEveryComponentAtItsDesignPlace) {
    runtime::WindowDescription d = app::mainWindowDescription();
    runtime::ComponentRef w = load(d);
    auto loaded = runtime.components(w.window);
    ASSERT_EQ(loaded.size(), d.components.size()) << "a component refused its property block";
    for (size_t i = 0; i < loaded.size(); ++i) {
        const auto& c = d.components[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runtime.nameOf(loaded[i]), c.name);
        EXPECT_EQ(runtime::asInt(runtime.get(loaded[i], runtime::prop::kLeft)), c.rect.left);
        EXPECT_EQ(runtime::asInt(runtime.get(loaded[i], runtime::prop::kTop)), c.rect.top);
        EXPECT_EQ(runtime::asInt(runtime.get(loaded[i], runtime::prop::kWidth)), c.rect.width);
        EXPECT_EQ(runtime::asInt(runtime.get(loaded[i], runtime::prop::kHeight)), c.rect.height);
        EXPECT_EQ(runtime::asBool(runtime.get(loaded[i], runtime::prop::kVisible)), c.visible);
    }
    // The templates and the buttons shown only on demand start hidden.
    for (const char* hidden : {tabs::name::kTemplateBrowser, tabs::name::kTemplateCloseButton, tabs::name::kStopButton,
             tabs::name::kRestoreButton}) {
        SCOPED_TRACE(hidden);
        EXPECT_FALSE(runtime::asBool(runtime.get(*runtime.find(w.window, hidden), runtime::prop::kVisible)));
    }
    EXPECT_EQ(runtime::asInt(runtime.get(*runtime.find(w.window, tabs::name::kHotLabel1), runtime::prop::kCursor)),
        runtime::cursor::kHand);
    EXPECT_EQ(runtime::asInt(runtime.get(*runtime.find(w.window, tabs::name::kHotCaption), runtime::prop::kCursor)),
        runtime::cursor::kDefault);
    EXPECT_TRUE(runtime::asBool(
        runtime.get(*runtime.find(w.window, tabs::name::kBackDisabledButton), runtime::prop::kDisabled)));
    EXPECT_EQ(runtime::asText(runtime.get(*runtime.find(w.window, tabs::name::kSearchBox), runtime::prop::own(0))),
        "输入关键字");
    EXPECT_EQ(runtime::asText(runtime.get(*runtime.find(w.window, tabs::name::kAddressBox), runtime::prop::own(0))),
        "输入网址或关键字");
}

TEST_F(WindowDescriptionTest, StatusWindowLoadsHiddenWithItsLabelAndStoppedTimer) {
    runtime::ComponentRef w = load(app::statusWindowDescription());
    EXPECT_FALSE(runtime::asBool(runtime.get(w, runtime::prop::kVisible)));
    EXPECT_EQ(runtime::asInt(runtime.get(w, runtime::prop::kWidth)), 495);
    auto timer = runtime.find(w.window, tabs::name::kFadeTimer);
    ASSERT_TRUE(timer);
    EXPECT_EQ(runtime::asInt(runtime.get(*timer, runtime::prop::own(runtime::timer::kInterval))), 0);
    auto label = runtime.find(w.window, tabs::name::kStatusTextLabel);
    ASSERT_TRUE(label);
    EXPECT_EQ(runtime::asInt(runtime.get(*label, runtime::prop::kWidth)), 471);
}

}  // namespace
