// Closing tabs by close button, header right click and the close-current-tab
// button; the only tab's search-engine cycle; open/close churn. Needs a
// display.
#include "gui_support.h"
#include "program/listing_site.h"
#include "tabs/main_ui.h"
#include "tabs/tab_components.h"
#include "tabs/tab_table.h"
#include "widgets/page_control.h"
#include "widgets/pic_btn_props.h"
#include "widgets/web_browser.h"
#include "widgets/web_browser_component.h"
#include "widgets/web_browser_view.h"

namespace tabs_test {
namespace {

using tabs::tabTable;

class TabClosingGuiTest : public TabWindowTest {
protected:
    void SetUp() override {
        TabWindowTest::SetUp();
        for (const char* p : {"/one", "/two", "/three"}) server_.add(p, std::string("<title>") + (p + 1) + "</title>");
    }
    tabs::MainUi& u() { return tabs::mainUi(); }

    void openThree() {
        openWindow(server_.url("/one"));
        tabs::OpenInNewTab(server_.url("/two"));
        tabs::OpenInNewTab(server_.url("/three"));
        ASSERT_TRUE(settle());
        ASSERT_EQ(tabs::tabCount(), 3);
    }
    void rightClickHeader(int page) { rt().raise(u().tabControl, widgets::page_control::kHeaderRightClicked, {page}); }
    void clickCloseButton(int n) { rt().raise(closeButton(n), widgets::pic_btn::kClick); }
    std::string url(int n) { return tabs::components::locationUrl(browser(n)); }
};

TEST_F(TabClosingGuiTest, RightClickOnTheMiddleHeaderRenumbersTheRest) {
    openThree();
    runtime::ComponentRef middle = browser(2), last = browser(3), lastButton = closeButton(3);
    rightClickHeader(1);
    ASSERT_EQ(tabState(), "1 2*");
    EXPECT_FALSE(rt().exists(middle));
    EXPECT_EQ(browser(2), last);
    EXPECT_EQ(tag(lastButton), "1");
    EXPECT_TRUE(shown(u().closeCurrentTabButton));
    // The former tab 3 now speaks for entry 2.
    raise(2, widgets::web_browser::event::kCommandStateChange, {widgets::web_browser::command::kForward, true});
    EXPECT_EQ(tabTable[1].forwardEnabled, 1);
    EXPECT_EQ(tabTable[0].forwardEnabled, 0);
}

TEST_F(TabClosingGuiTest, ClosingTheLastCurrentTabSelectsThePreviousOne) {
    openThree();
    ASSERT_EQ(tabState(), "1 2 3*");
    ASSERT_TRUE(waitFor([&] { return tabs::components::locationName(browser(2)) == "two"; }));
    rt().raise(u().closeCurrentTabButton, widgets::pic_btn::kClick);
    EXPECT_EQ(tabState(), "1 2*");
    EXPECT_EQ(url(2), server_.url("/two"));
    EXPECT_EQ(windowCaption(), "two");
    EXPECT_EQ(address(), server_.url("/two"));
}

// Closing a tab that is not on show changes nothing the user sees: the same
// page, address and window caption stay.
TEST_F(TabClosingGuiTest, ClosingATabBesideTheShownOneKeepsTheShownOne) {
    openThree();
    ASSERT_TRUE(waitFor([&] { return tip(0) == "one" && tip(1) == "two" && tip(2) == "three"; }));
    tabs::components::setCurrentPage(1);
    ASSERT_EQ(tabs::currentTab, 2);
    runtime::ComponentRef two = browser(2);
    std::string twoCaption = caption(1);
    auto expectTwoOnShow = [&](int n) {
        EXPECT_EQ(tabs::currentTab, n);
        EXPECT_EQ(tabs::components::currentPage(), n - 1);
        EXPECT_EQ(browser(n), two);
        EXPECT_TRUE(shown(two));
        for (int i = 1; i <= tabs::tabCount(); ++i)
            if (i != n) EXPECT_FALSE(shown(browser(i))) << i;
        EXPECT_EQ(windowCaption(), "two");
        EXPECT_EQ(address(), server_.url("/two"));
        EXPECT_EQ(caption(n - 1), twoCaption);
        EXPECT_EQ(tip(n - 1), "two");
    };
    // Tab 1 by its close button: page 0 stays and takes tab 2's caption and
    // tooltip; tab 2 moves to its place and stays on show.
    clickCloseButton(1);
    ASSERT_EQ(tabs::tabCount(), 2);
    expectTwoOnShow(1);
    EXPECT_EQ(tip(1), "three");

    // The last tab by a right click while tab 1 is on show.
    rightClickHeader(1);
    ASSERT_EQ(tabs::tabCount(), 1);
    expectTwoOnShow(1);

    // And a tab left of the shown one, closed from the header.
    tabs::OpenInNewTab(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/three"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return tip(2) == "three"; }));
    tabs::components::setCurrentPage(2);
    runtime::ComponentRef three = browser(3);
    rightClickHeader(1);
    ASSERT_EQ(tabState(), "1 2*");
    EXPECT_EQ(browser(2), three);
    EXPECT_EQ(windowCaption(), "three");
}

TEST_F(TabClosingGuiTest, ClosingTheShownTabShowsItsRightNeighbour) {
    openThree();
    ASSERT_TRUE(waitFor([&] { return tip(2) == "three"; }));
    tabs::components::setCurrentPage(1);
    runtime::ComponentRef three = browser(3);
    rt().raise(u().closeCurrentTabButton, widgets::pic_btn::kClick);
    ASSERT_EQ(tabState(), "1 2*");
    EXPECT_EQ(browser(2), three);
    EXPECT_EQ(windowCaption(), "three");
    EXPECT_EQ(address(), server_.url("/three"));
    // The first tab shown and closed: the next one moves into page 0.
    tabs::components::setCurrentPage(0);
    clickCloseButton(1);
    ASSERT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(browser(1), three);
    EXPECT_TRUE(shown(three));
    EXPECT_EQ(windowCaption(), "three");
}

// Twenty tabs shrink the captions to one character; closing them one by one
// with the title-bar button brings the last tab's whole title back, and no
// header is ever blank on the way.
TEST_F(TabClosingGuiTest, ClosingDownToOneTabBringsTheWholeTitleBack) {
    const std::string title = "传奇私服新开网";  // 14 bytes
    server_.add("/first", "<title>" + title + "</title>");
    for (int i = 2; i <= 20; ++i) server_.add("/t" + std::to_string(i), "<title>第" + std::to_string(i) + "页</title>");
    openWindow(server_.url("/first"));
    for (int i = 2; i <= 20; ++i) tabs::OpenInNewTab(server_.url("/t" + std::to_string(i)));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] {
        for (int page = 1; page < 20; ++page)
            if (tip(page) != "第" + std::to_string(page + 1) + "页") return false;
        return tip(0) == title;
    }));
    EXPECT_EQ(tabs::maxCaptionLength, tabs::kShortestCaption);
    auto blank = [](std::string c) { return c.find_first_not_of(' ') == std::string::npos; };
    for (int i = 19; i >= 1; --i) {
        rt().raise(u().closeCurrentTabButton, widgets::pic_btn::kClick);
        ASSERT_EQ(tabs::tabCount(), i);
        EXPECT_GE(tabs::maxCaptionLength, tabs::kShortestCaption);
        for (int page = 0; page < i; ++page) EXPECT_FALSE(blank(caption(page))) << page << " of " << i;
        EXPECT_EQ(windowCaption(), i == 1 ? title : "第" + std::to_string(i) + "页");
    }
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    EXPECT_EQ(caption(0).substr(0, title.size()), title);
}

TEST_F(TabClosingGuiTest, ClosingTabOneOfTwoKeepsPageZeroWithTheOtherCaption) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return tip(1) == "two"; }));
    std::string second = caption(1);
    runtime::ComponentRef survivor = browser(2);
    clickCloseButton(1);
    ASSERT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(tabs::components::pageCount(), 1);
    EXPECT_EQ(browser(1), survivor);
    EXPECT_EQ(tag(survivor), "1");
    EXPECT_EQ(tag(closeButton(1)), "0");
    EXPECT_EQ(caption(0), second);
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    EXPECT_FALSE(shown(u().closeCurrentTabButton));
    EXPECT_TRUE(shown(survivor));
}

TEST_F(TabClosingGuiTest, TheOnlyTabCyclesThroughTheSearchEngines) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    // Nothing answers for the engines' hosts here; what counts is where the
    // tab is sent and that it stays.
    clickCloseButton(1);
    EXPECT_EQ(address(), program::listing::kSearchEngineAHome);
    ASSERT_TRUE(waitFor([&] { return url(1) == program::listing::kSearchEngineAHome; }));
    ASSERT_TRUE(settle());
    rightClickHeader(0);
    EXPECT_EQ(address(), program::listing::kSearchEngineBHome);
    ASSERT_TRUE(waitFor([&] { return url(1) == program::listing::kSearchEngineBHome; }));
    ASSERT_TRUE(settle());
    clickCloseButton(1);
    EXPECT_EQ(address(), program::listing::kSearchEngineAHome);
    EXPECT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(tabs::components::pageCount(), 1);
    EXPECT_EQ(tag(browser(1)), "1");
    // The close-current-tab path on one tab only re-fits the captions.
    tabs::maxCaptionLength = 4;
    tabs::CloseTab(0);
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    EXPECT_EQ(tabs::tabCount(), 1);
    ASSERT_TRUE(settle());
}

TEST_F(TabClosingGuiTest, ClosedTabsLeaveNoComponentsOrViewsBehind) {
    openWindow("about:blank");
    ASSERT_TRUE(settle());
    const int components = componentCount();
    const int views = widgets::web_browser::liveViewCount();
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 10; ++i) tabs::OpenInNewTab("about:blank");
        ASSERT_EQ(tabs::tabCount(), 11);
        ASSERT_EQ(tabs::components::pageCount(), 11);
        // Close from the middle, the end and the front in turn.
        for (int i = 0; i < 10; ++i) {
            int page = i % 3 == 0 ? 1 : i % 3 == 1 ? tabs::tabCount() - 1 : 0;
            if (page == 0) clickCloseButton(1);
            else rightClickHeader(page);
        }
        ASSERT_EQ(tabs::tabCount(), 1);
        rt().processPendingMessages();
    }
    EXPECT_EQ(tabs::components::pageCount(), 1);
    EXPECT_EQ(componentCount(), components);
    EXPECT_EQ(tag(browser(1)), "1");
    EXPECT_TRUE(waitFor([&] { return widgets::web_browser::liveViewCount() == views; }))
        << widgets::web_browser::liveViewCount() << " vs " << views;
}

TEST_F(TabClosingGuiTest, ClosingTheOpenerWhileItsNewWindowHandlerPumpsIsQuiet) {
    // A target=_blank click followed at once by closing that tab: the close
    // click is queued the moment the engine asks for the new window, so the
    // new-window handler's pump runs it while the opener is still inside
    // its own signal. The opener must outlive that (the sanitizer build
    // catches any use after free), the popup is refused, and the program
    // goes on.
    server_.add("/opener",
        "<title>Opener</title><body style='margin:0'>"
        "<a href='/popup' target='_blank' style='display:block;width:100%;height:600px'>open</a></body>");
    server_.add("/popup", "<title>Popup</title>popup");
    openWindow(server_.url("/opener"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return windowCaption() == "Opener"; }));
    const runtime::ComponentRef opener = browser(1);
    struct Pending {
        runtime::ComponentRef closeButton;
        int hooks = 0;
    } pending{closeButton(1)};
    guint createSignal = g_signal_lookup("create", WEBKIT_TYPE_WEB_VIEW);
    g_signal_add_emission_hook(
        createSignal, 0,
        [](GSignalInvocationHint*, guint, const GValue*, gpointer p) -> gboolean {
            auto* q = static_cast<Pending*>(p);
            ++q->hooks;
            g_idle_add(
                [](gpointer p) -> gboolean {
                    auto* q = static_cast<Pending*>(p);
                    runtime::Runtime::instance().raise(q->closeButton, widgets::pic_btn::kClick);
                    return G_SOURCE_REMOVE;
                },
                q);
            return FALSE;  // once
        },
        &pending, nullptr);

    auto* view = dynamic_cast<widgets::web_browser::WebBrowser*>(rt().component(opener))->view();
    clickAt(gtk_widget_get_window(GTK_WIDGET(view)), 100, 100);
    ASSERT_TRUE(waitFor([&] { return !rt().exists(opener); }));
    EXPECT_EQ(pending.hooks, 1);
    ASSERT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_EQ(tag(browser(1)), "1");
    EXPECT_TRUE(waitFor([&] { return rt().componentsAwaitingFree() == 0; }));

    // The tab that was opened for the popup still works as a tab.
    tabs::NavigateTab(server_.url("/two"), 1);
    EXPECT_TRUE(waitFor([&] { return windowCaption() == "two"; }));
    EXPECT_EQ(server_.hits("/popup"), 0);
}

TEST_F(TabClosingGuiTest, ClosedTabsEndTheirWebProcesses) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    const int processes = webProcessCount();
    for (int i = 0; i < 4; ++i) tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    EXPECT_GT(webProcessCount(), processes);
    for (int i = 0; i < 4; ++i) rt().raise(u().closeCurrentTabButton, widgets::pic_btn::kClick);
    ASSERT_EQ(tabs::tabCount(), 1);
    EXPECT_TRUE(waitFor([&] { return webProcessCount() <= processes; })) << webProcessCount() << " vs " << processes;
}

}  // namespace
}  // namespace tabs_test
