// Browser events through the real runtime: the status window and its fade,
// the load-progress label, and a page's new window becoming a tab. Needs a
// display.
#include "gui_support.h"
#include "runtime/kinds/builtin_kinds.h"
#include "tabs/main_ui.h"
#include "tabs/status_window.h"
#include "tabs/tab_components.h"
#include "tabs/tab_table.h"
#include "widgets/trans_label_props.h"
#include "widgets/web_browser.h"
#include "widgets/web_browser_component.h"

namespace tabs_test {
namespace {

class BrowserEventsGuiTest : public TabWindowTest {
protected:
    void SetUp() override {
        TabWindowTest::SetUp();
        server_.add("/one", "<title>One</title>one");
        server_.add("/two", "<title>Two</title>two");
    }
    tabs::MainUi& u() { return tabs::mainUi(); }
    bool statusShown() { return shown(u().statusWindow); }
    bool fading() {
        return runtime::asInt(rt().get(u().fadeTimer, runtime::prop::own(runtime::timer::kInterval))) != 0;
    }
    std::string statusText() {
        return runtime::asText(rt().get(u().statusTextLabel, runtime::prop::own(runtime::label::kCaption)));
    }
    std::string progressText() {
        return runtime::asText(rt().get(u().loadProgressLabel, runtime::prop::own(widgets::trans_label::kText)));
    }
};

TEST_F(BrowserEventsGuiTest, StatusWindowFadesInAndOutWithTheCurrentTabsTexts) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    ASSERT_FALSE(statusShown());
    EXPECT_EQ(tabs::statusFade().maxOpacity(), 200);

    // "Done" while hidden changes nothing; a background tab never gets in.
    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("Done")});
    EXPECT_FALSE(fading());
    raise(1, widgets::web_browser::event::kStatusTextChange, {std::string("background")});
    EXPECT_FALSE(statusShown());
    EXPECT_NE(statusText(), "background");

    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("http://127.0.0.1/link")});
    EXPECT_TRUE(statusShown());
    EXPECT_TRUE(fading());
    EXPECT_EQ(statusText(), "http://127.0.0.1/link");
    EXPECT_EQ(tabs::statusFade().opacity(), 0);
    // Texts wait while the fade runs; the latest is shown when it ends.
    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("held")});
    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("latest")});
    EXPECT_EQ(statusText(), "http://127.0.0.1/link");
    ASSERT_TRUE(waitFor([&] { return !fading(); }));
    EXPECT_EQ(tabs::statusFade().opacity(), 200);
    EXPECT_EQ(statusText(), "latest");

    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("next")});
    EXPECT_EQ(statusText(), "next");
    EXPECT_FALSE(fading());

    raise(2, widgets::web_browser::event::kStatusTextChange, {std::string("完毕")});
    EXPECT_TRUE(fading());
    ASSERT_TRUE(waitFor([&] { return !fading(); }));
    EXPECT_FALSE(statusShown());
    EXPECT_EQ(tabs::statusFade().opacity(), 0);
}

// The web view reports a text only when it changes: leaving a link during
// the fade-in reports the empty text once, and the window must not stay up
// on the address.
TEST_F(BrowserEventsGuiTest, LeavingALinkDuringTheFadeInEndsWithTheWindowHidden) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    raise(1, widgets::web_browser::event::kStatusTextChange, {std::string("http://127.0.0.1/link")});
    ASSERT_TRUE(fading());
    raise(1, widgets::web_browser::event::kStatusTextChange, {std::string("")});
    ASSERT_TRUE(waitFor([&] { return !fading() && !statusShown(); }));
    EXPECT_EQ(tabs::statusFade().opacity(), 0);
    EXPECT_FALSE(tabs::statusFade().takeHeldText().has_value());
}

TEST_F(BrowserEventsGuiTest, StatusWindowRunsAlongTheBottomOfTheMainWindow) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    tabs::PlaceStatusWindow();
    tabs::Area main = tabs::components::area(u().window);
    tabs::Area status = tabs::components::area(u().statusWindow);
    EXPECT_EQ(status.left, main.left + 5);
    EXPECT_EQ(status.width, main.width - 26);
    EXPECT_EQ(status.height, 16);
    EXPECT_EQ(tabs::components::area(u().statusTextLabel).width, main.width - 26);
    // The form's headers are at the bottom: the window sits above them.
    int headerDepth = tabs::components::area(u().tabControl).height - tabs::components::pageAreaHeight();
    EXPECT_EQ(status.top, main.top + main.height - 16 - headerDepth - 3);
}

TEST_F(BrowserEventsGuiTest, ProgressLabelShowsOneDecimalUntilTheTimerHidesIt) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    raise(1, widgets::web_browser::event::kProgressChange, {375, 1000});
    EXPECT_TRUE(shown(u().loadProgressLabel));
    EXPECT_EQ(progressText(), "37.5%");
    raise(1, widgets::web_browser::event::kProgressChange, {1200, 1000});
    EXPECT_EQ(progressText(), "37.5%");
    raise(1, widgets::web_browser::event::kProgressChange, {0, 1000});
    EXPECT_FALSE(shown(u().loadProgressLabel));

    raise(1, widgets::web_browser::event::kProgressChange, {1000, 1000});
    EXPECT_EQ(progressText(), "100.0%");
    ASSERT_TRUE(waitFor([&] { return !shown(u().loadProgressLabel); }));
}

TEST_F(BrowserEventsGuiTest, ALinkToANewWindowOpensACurrentTab) {
    server_.add("/opener",
        "<title>Opener</title><body style='margin:0'>"
        "<a href='/popup' target='_blank' style='display:block;width:100%;height:600px'>open</a></body>");
    server_.add("/popup", "<title>Popup page</title>popup");
    openWindow(server_.url("/opener"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return windowCaption() == "Opener"; }));
    runtime::ComponentRef opener = browser(1);

    auto* view = dynamic_cast<widgets::web_browser::WebBrowser*>(rt().component(opener))->view();
    clickAt(gtk_widget_get_window(GTK_WIDGET(view)), 100, 100);
    ASSERT_TRUE(waitFor([&] { return tabs::tabCount() == 2; }));
    // Until its title arrives the new tab reads as loading and the window
    // keeps its caption; neither goes blank.
    if (tip(1).empty()) {
        EXPECT_EQ(caption(1), "载入..");
        EXPECT_EQ(windowCaption(), "Opener");
    }
    EXPECT_EQ(tabs::currentTab, 2);
    EXPECT_EQ(tag(browser(2)), "2");
    EXPECT_FALSE(shown(opener));
    EXPECT_TRUE(shown(browser(2)));
    ASSERT_TRUE(waitFor([&] { return tip(1) == "Popup page"; }));
    ASSERT_TRUE(waitFor([&] { return windowCaption() == "Popup page"; }));
    EXPECT_EQ(caption(1), "Popup page" + std::string(7, ' ') + "  ");
    EXPECT_EQ(tabs::components::locationUrl(browser(2)), server_.url("/popup"));
    EXPECT_EQ(tabs::components::locationUrl(opener), server_.url("/opener"));
    EXPECT_EQ(server_.hits("/popup"), 1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(tabs::tabCount(), 2);
}

}  // namespace
}  // namespace tabs_test
