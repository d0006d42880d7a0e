// The tab table on the real runtime, widgets and WebKit: opening, selecting,
// captions, layout and the navigation buttons. Needs a display.
#include "gui_support.h"
#include "runtime/gbk.h"
#include "tabs/main_ui.h"
#include "tabs/tab_components.h"
#include "tabs/tab_table.h"
#include "widgets/page_control.h"
#include "widgets/web_browser.h"

namespace tabs_test {
namespace {

namespace wb = widgets::web_browser;
using tabs::tabTable;

class TabTableGuiTest : public TabWindowTest {
protected:
    void SetUp() override {
        TabWindowTest::SetUp();
        server_.add("/one", "<title>One</title>one");
        server_.add("/two", "<title>Two</title>two");
        server_.add("/three", "<title>Three</title>three");
    }
    ui::MainUi& u() { return ui::mainUi(); }
};

TEST_F(TabTableGuiTest, FirstTabThenANewTabBecomesCurrent) {
    openWindow(server_.url("/one"));
    ASSERT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_EQ(tag(browser(1)), "1");
    EXPECT_EQ(tag(closeButton(1)), "0");
    EXPECT_TRUE(shown(browser(1)));
    EXPECT_TRUE(shown(closeButton(1)));
    EXPECT_FALSE(shown(u().closeCurrentTabButton));
    EXPECT_EQ(rt::asText(rt().get(u().titleLabel, rt::prop::own(0))), "Varomel");
    EXPECT_EQ(address(), server_.url("/one"));
    // The back/forward pair shows the disabled halves for a fresh tab.
    EXPECT_FALSE(shown(u().backButton));
    EXPECT_TRUE(shown(u().backDisabledButton));
    ASSERT_TRUE(settle());

    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_EQ(tabs::tabCount(), 2);
    EXPECT_EQ(tabs::currentTab, 2);
    EXPECT_EQ(tabs::cx::currentPage(), 1);
    EXPECT_EQ(tabs::cx::pageCount(), 2);
    EXPECT_EQ(tag(browser(2)), "2");
    EXPECT_EQ(tag(closeButton(2)), "1");
    EXPECT_EQ(caption(1), "载入..");
    EXPECT_FALSE(shown(browser(1)));
    EXPECT_TRUE(shown(browser(2)));
    EXPECT_TRUE(shown(u().closeCurrentTabButton));
    EXPECT_EQ(address(), server_.url("/two"));
    // Laid over the page area: the form puts the headers at the bottom.
    tabs::Area control = tabs::cx::area(u().tabControl);
    tabs::Area b = tabs::cx::area(browser(2));
    EXPECT_EQ(b.left, control.left);
    EXPECT_EQ(b.top, control.top);
    EXPECT_EQ(b.width, tabs::cx::pageAreaWidth() + 2);
    EXPECT_EQ(b.height, tabs::cx::pageAreaHeight() + 1);

    // The engine's title reaches the caption, the tip and the window caption.
    ASSERT_TRUE(waitFor([&] { return tip(1) == "Two"; }));
    EXPECT_EQ(caption(1), "Two" + std::string(14, ' ') + "  ");
    ASSERT_TRUE(waitFor([&] { return windowCaption() == "Two"; }));
}

TEST_F(TabTableGuiTest, BackgroundTitleSetsItsCaptionAndTipOnly) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return windowCaption() == "Two"; }));

    raise(1, wb::event::kTitleChange, {std::string("hello")});
    EXPECT_EQ(caption(0), "hello" + std::string(12, ' ') + "  ");
    EXPECT_EQ(rt::gbk::byteLength(caption(0)), 19u);
    EXPECT_EQ(tip(0), "hello");
    EXPECT_EQ(windowCaption(), "Two");

    std::string forty = "传奇私服新开一秒合击网站发布最新最全的服务器列表";  // 48 bytes
    raise(1, wb::event::kTitleChange, {forty});
    EXPECT_EQ(caption(0), "传奇私服新开一秒  ");
    EXPECT_EQ(tip(0), forty);
    // Events from a tag outside the table change nothing.
    rt().set(browser(1), rt::prop::kTag, std::string("7"));
    raise(1, wb::event::kTitleChange, {std::string("lost")});
    EXPECT_EQ(tip(0), forty);
}

TEST_F(TabTableGuiTest, FitCaptionsHalvesOncePerCallDownToOne) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    // Still room: nothing changes.
    tabs::FitCaptions();
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    // A narrow control no longer fits two more headers.
    rt().set(u().tabControl, rt::prop::kWidth, 90);
    for (int expected : {8, 4, 2, 1, 1}) {
        tabs::FitCaptions();
        EXPECT_EQ(tabs::maxCaptionLength, expected);
        EXPECT_EQ(rt::gbk::byteLength(caption(0)), static_cast<size_t>(expected + 1));
        EXPECT_EQ(rt::gbk::byteLength(caption(1)), static_cast<size_t>(expected + 1));
    }
}

TEST_F(TabTableGuiTest, AddressBoxShowsOnlyTheCurrentTabsRealAddress) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    tabs::cx::setAddressText("typed");
    tabs::RefreshSelection();
    EXPECT_EQ(address(), server_.url("/one"));

    tabs::cx::setAddressText("typed");
    tabs::NavigateTab("about:blank", 1);
    EXPECT_EQ(address(), "about:blank");
    ASSERT_TRUE(settle());
    tabs::cx::setAddressText("typed");
    tabs::RefreshSelection();
    EXPECT_EQ(address(), "typed");

    EXPECT_FALSE(tabs::IsShowableUrl(1, "http:///"));
    EXPECT_FALSE(tabs::IsShowableUrl(1, ""));
    EXPECT_FALSE(tabs::IsShowableUrl(2, server_.url("/one")));
    EXPECT_TRUE(tabs::IsShowableUrl(1, server_.url("/one")));
}

TEST_F(TabTableGuiTest, BrowsersStayPutWithHeadersAtTheSide) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    rt().set(u().tabControl, rt::prop::own(widgets::page_control::kHeaderPosition), 2);
    rt().set(browser(1), rt::prop::kLeft, 77);
    tabs::LayOutTabBrowser(1);
    EXPECT_EQ(tabs::cx::area(browser(1)).left, 77);
    // Headers on top: the browser starts below them.
    rt().set(u().tabControl, rt::prop::own(widgets::page_control::kHeaderPosition), 0);
    tabs::LayOutTabBrowser(1);
    tabs::Area control = tabs::cx::area(u().tabControl);
    EXPECT_EQ(tabs::cx::area(browser(1)).top, control.top + tabs::cx::headerHeight() + 3);
}

TEST_F(TabTableGuiTest, CloseButtonsWaitForTheFirstActivation) {
    tabs::layoutReady = 0;
    rt::ComponentRef main = rt().loadWindow(testMainWindow([this](rt::Event& e) -> rt::Value {
        ui::bindMainWindow(rt(), e.source);
        tabs::CreateFirstTab(server_.url("/one"));
        return {};
    }));
    mainWindow_ = main.window;
    tabs::Area before = tabs::cx::area(closeButton(1));
    tabs::ArrangeCloseButtons();
    EXPECT_EQ(tabs::cx::area(closeButton(1)), before);

    tabs::layoutReady = 1;
    tabs::ArrangeCloseButtons();
    auto header = tabs::cx::headerRect(0);
    ASSERT_TRUE(header);
    tabs::Area control = tabs::cx::area(u().tabControl);
    tabs::Area b = tabs::cx::area(closeButton(1));
    EXPECT_EQ(b.left, control.left + header->left + header->width - b.width);
    tabs::Area plus = tabs::cx::area(u().newTabButton);
    EXPECT_EQ(plus.left, control.left + header->left + header->width + 5);
    ASSERT_TRUE(settle());
}

TEST_F(TabTableGuiTest, BackgroundDownloadMarksTheTabLoading) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    raise(1, wb::event::kDownloadBegin);
    EXPECT_EQ(tabTable[0].loading, 1);
    EXPECT_EQ(tabTable[1].loading, 0);

    tabs::cx::setCurrentPage(0);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_TRUE(shown(u().stopButton));
    EXPECT_FALSE(shown(u().refreshButton));
    EXPECT_TRUE(shown(browser(1)));
    EXPECT_FALSE(shown(browser(2)));

    // The current tab's own download begin swaps the buttons directly.
    tabs::cx::setCurrentPage(1);
    EXPECT_FALSE(shown(u().stopButton));
    raise(2, wb::event::kDownloadBegin);
    EXPECT_TRUE(shown(u().stopButton));
    EXPECT_FALSE(shown(u().refreshButton));
    EXPECT_EQ(tabTable[1].loading, 0);
    raise(2, wb::event::kDownloadComplete);
    EXPECT_FALSE(shown(u().stopButton));
    EXPECT_TRUE(shown(u().refreshButton));
}

TEST_F(TabTableGuiTest, CommandStatesFollowTheCurrentRecordUpToTheLastTab) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    tabs::OpenInNewTab(server_.url("/three"));
    ASSERT_TRUE(settle());
    ASSERT_EQ(tabs::currentTab, 3);

    raise(3, wb::event::kCommandStateChange, {wb::command::kForward, true});
    raise(3, wb::event::kCommandStateChange, {wb::command::kBack, 1});
    raise(3, wb::event::kCommandStateChange, {7, true});
    EXPECT_EQ(tabTable[2].forwardEnabled, 1);
    EXPECT_EQ(tabTable[2].backEnabled, 1);
    EXPECT_EQ(tabTable[1].forwardEnabled, 0);
    // The buttons follow at the next update, not at the state change.
    EXPECT_FALSE(shown(u().forwardButton));
    raise(3, wb::event::kDownloadComplete);
    EXPECT_TRUE(shown(u().forwardButton));
    EXPECT_FALSE(shown(u().forwardDisabledButton));
    EXPECT_TRUE(shown(u().backButton));
    EXPECT_FALSE(shown(u().backDisabledButton));

    tabs::cx::setCurrentPage(1);
    EXPECT_FALSE(shown(u().forwardButton));
    EXPECT_TRUE(shown(u().forwardDisabledButton));
    raise(3, wb::event::kCommandStateChange, {wb::command::kBack, false});
    tabs::cx::setCurrentPage(2);
    EXPECT_FALSE(shown(u().backButton));
    EXPECT_TRUE(shown(u().backDisabledButton));
}

TEST_F(TabTableGuiTest, APageWithoutARecordIsRemovedWhenSelected) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    tabs::cx::addPage("stray");
    ASSERT_EQ(tabs::cx::pageCount(), 2);
    tabs::cx::setCurrentPage(1);
    EXPECT_EQ(tabs::cx::pageCount(), 1);
    EXPECT_EQ(tabs::cx::currentPage(), 0);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_TRUE(shown(browser(1)));
}

}  // namespace
}  // namespace tabs_test
