// The tab table on the real runtime, widgets and WebKit: opening, selecting,
// captions, layout and the navigation buttons. Needs a display.
#include <set>

#include "gui_support.h"
#include "runtime/gbk.h"
#include "support/screen.h"
#include "tabs/main_ui.h"
#include "tabs/tab_components.h"
#include "tabs/tab_table.h"
#include "widgets/page_control.h"
#include "widgets/web_browser.h"

namespace tabs_test {
namespace {

using tabs::tabTable;

class TabTableGuiTest : public TabWindowTest {
protected:
    static bool overlaps(tabs::Area a, tabs::Area b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    }
    // Where a component really is: its host's place in the window.
    tabs::Area onScreen(runtime::ComponentRef ref) {
        GtkWidget* host = rt().hostWidget(ref);
        GtkWidget* top = gtk_widget_get_toplevel(host);
        int x = 0, y = 0;
        gtk_widget_translate_coordinates(host, top, 0, 0, &x, &y);
        return {x, y, gtk_widget_get_allocated_width(host), gtk_widget_get_allocated_height(host)};
    }
    // Window coordinates to screen pixels.
    uint32_t screenPixelAt(int x, int y) {
        int ox = 0, oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(GTK_WIDGET(rt().gtkWindow(mainWindow_))), &ox, &oy);
        return testsupport::screenPixel(ox + x, oy + y);
    }
    int greenPixelsIn(tabs::Area a) {
        int ox = 0, oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(GTK_WIDGET(rt().gtkWindow(mainWindow_))), &ox, &oy);
        gdk_display_sync(gdk_display_get_default());
        GdkPixbuf* p = gdk_pixbuf_get_from_window(
            gdk_get_default_root_window(), ox + a.left, oy + a.top, a.width, a.height);
        if (!p) return -1;
        int count = 0;
        const int stride = gdk_pixbuf_get_rowstride(p), channels = gdk_pixbuf_get_n_channels(p);
        const guchar* d = gdk_pixbuf_get_pixels(p);
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const guchar* px = d + y * stride + x * channels;
                if (px[0] == 0 && px[1] == 0xc0 && px[2] == 0) ++count;
            }
        g_object_unref(p);
        return count;
    }
    // VAROMEL_TEST_SHOTS=dir keeps a picture of the main window there.
    void saveShotIfAsked(const std::string& name) {
        const char* dir = g_getenv("VAROMEL_TEST_SHOTS");
        if (!dir) return;
        GdkWindow* w = gtk_widget_get_window(GTK_WIDGET(rt().gtkWindow(mainWindow_)));
        int ox = 0, oy = 0;
        gdk_window_get_origin(w, &ox, &oy);
        gdk_display_sync(gdk_display_get_default());
        GdkPixbuf* p = gdk_pixbuf_get_from_window(
            gdk_get_default_root_window(), ox, oy, gdk_window_get_width(w), gdk_window_get_height(w));
        ASSERT_TRUE(p);
        std::string path = std::string(dir) + "/" + name + ".png";
        EXPECT_TRUE(gdk_pixbuf_save(p, path.c_str(), "png", nullptr, nullptr)) << path;
        g_object_unref(p);
    }

    void SetUp() override {
        TabWindowTest::SetUp();
        server_.add("/one", "<title>One</title>one");
        server_.add("/two", "<title>Two</title>two");
        server_.add("/three", "<title>Three</title>three");
    }
    tabs::MainUi& u() { return tabs::mainUi(); }
};

TEST_F(TabTableGuiTest, FirstTabThenANewTabBecomesCurrent) {
    openWindow(server_.url("/one"));
    ASSERT_EQ(tabState(), "1*");
    EXPECT_EQ(tag(closeButton(1)), "0");
    EXPECT_TRUE(shown(closeButton(1)));
    EXPECT_FALSE(shown(u().closeCurrentTabButton));
    EXPECT_EQ(runtime::asText(rt().get(u().titleLabel, runtime::prop::own(0))), "Varomel");
    EXPECT_EQ(address(), server_.url("/one"));
    // The back/forward pair shows the disabled halves for a fresh tab.
    EXPECT_FALSE(shown(u().backButton));
    EXPECT_TRUE(shown(u().backDisabledButton));
    ASSERT_TRUE(settle());

    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_EQ(tabState(), "1 2*");
    EXPECT_EQ(tag(closeButton(2)), "1");
    EXPECT_EQ(caption(1), "载入..");
    EXPECT_TRUE(shown(u().closeCurrentTabButton));
    EXPECT_EQ(address(), server_.url("/two"));
    // Laid over the page area: the form puts the headers at the bottom.
    tabs::Area control = tabs::components::area(u().tabControl);
    tabs::Area b = tabs::components::area(browser(2));
    EXPECT_EQ(b.left, control.left);
    EXPECT_EQ(b.top, control.top);
    EXPECT_EQ(b.width, tabs::components::pageAreaWidth() + 2);
    EXPECT_EQ(b.height, tabs::components::pageAreaHeight() + 1);

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

    raise(1, widgets::web_browser::event::kTitleChange, {std::string("hello")});
    EXPECT_EQ(caption(0), "hello" + std::string(12, ' ') + "  ");
    EXPECT_EQ(runtime::gbk::byteLength(caption(0)), 19u);
    EXPECT_EQ(tip(0), "hello");
    EXPECT_EQ(windowCaption(), "Two");

    std::string forty = "传奇私服新开一秒合击网站发布最新最全的服务器列表";  // 48 bytes
    raise(1, widgets::web_browser::event::kTitleChange, {forty});
    EXPECT_EQ(caption(0), "传奇私服新开一秒  ");
    EXPECT_EQ(tip(0), forty);
    // Events from a tag outside the table change nothing.
    rt().set(browser(1), runtime::prop::kTag, std::string("7"));
    raise(1, widgets::web_browser::event::kTitleChange, {std::string("lost")});
    EXPECT_EQ(tip(0), forty);
}

TEST_F(TabTableGuiTest, FitCaptionsHalvesDownToOneCharacterAndClosingGrowsThemBack) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    tabs::OpenInNewTab(server_.url("/three"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return tip(0) == "One" && tip(1) == "Two" && tip(2) == "Three"; }));
    // Still room: nothing changes.
    tabs::FitCaptions();
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    // A narrow control no longer fits three more headers.
    rt().set(u().tabControl, runtime::prop::kWidth, 120);
    for (int expected : {8, 4, 2, 2}) {
        tabs::FitCaptions();
        EXPECT_EQ(tabs::maxCaptionLength, expected);
        for (int page = 0; page < 3; ++page)
            EXPECT_EQ(runtime::gbk::byteLength(caption(page)), static_cast<size_t>(expected + 1));
    }
    // The floor still shows the first character of a Chinese title.
    std::string title = "传奇私服";
    raise(1, widgets::web_browser::event::kTitleChange, {title});
    EXPECT_EQ(caption(0), "传  ");
    EXPECT_EQ(tip(0), title);

    // Room again: closing a tab grows the others' captions back from their
    // whole titles, in the same steps, up to 16 bytes.
    rt().set(u().tabControl, runtime::prop::kWidth, 664);
    tabs::CloseTab(2);
    EXPECT_EQ(tabs::maxCaptionLength, 16);
    EXPECT_EQ(caption(0), tabs::FitText(title, 16));
    EXPECT_EQ(tabs::currentTab, 2);
    EXPECT_EQ(caption(1).substr(0, 3), "Two");
}

TEST_F(TabTableGuiTest, AddressBoxShowsOnlyTheCurrentTabsRealAddress) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    tabs::components::setAddressText("typed");
    tabs::RefreshSelection();
    EXPECT_EQ(address(), server_.url("/one"));

    tabs::components::setAddressText("typed");
    tabs::NavigateTab("about:blank", 1);
    EXPECT_EQ(address(), "about:blank");
    ASSERT_TRUE(settle());
    tabs::components::setAddressText("typed");
    tabs::RefreshSelection();
    EXPECT_EQ(address(), "typed");

    EXPECT_FALSE(tabs::IsShowableUrl(1, "http:///"));
    EXPECT_FALSE(tabs::IsShowableUrl(1, ""));
    EXPECT_FALSE(tabs::IsShowableUrl(2, server_.url("/one")));
    EXPECT_TRUE(tabs::IsShowableUrl(1, server_.url("/one")));
}

// Several rows of headers, at the window's design size and maximised on
// the test screen: the current browser never covers a header, every close
// button sits on its own header, and a click on a header in any row selects
// that tab. Captions are made long through the program's own caption rule
// with a larger caption length, so five tabs take three rows (2 + 2 + 1).
TEST_F(TabTableGuiTest, HeaderRowsStayClearOfTheBrowserAtBothSizes) {
    const char* green = "<body style='margin:0;background:#00c000'>";
    for (const char* p : {"/r1", "/r2", "/r3", "/r4", "/r5"})
        server_.add(p, std::string("<title>") + (p + 1) + "</title>" + green + "</body>");
    openWindow(server_.url("/r1"));
    for (const char* p : {"/r2", "/r3", "/r4", "/r5"}) tabs::OpenInNewTab(server_.url(p));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return tip(4) == "r5" && tip(0) == "r1"; }));
    runtime::ComponentRef control = u().tabControl;
    GdkScreen* screen = gdk_screen_get_default();
    const int screenWidth = gdk_screen_get_width(screen), screenHeight = gdk_screen_get_height(screen);

    struct Size {
        const char* name;
        tabs::Area window, control;
    };
    for (const Size& size : {Size{"design", {0, 0, 1030, 750}, {4, 83, 1022, 660}},
             Size{"maximised", {0, 0, screenWidth, screenHeight}, {4, 83, screenWidth - 8, screenHeight - 90}}}) {
        SCOPED_TRACE(size.name);
        rt().set(u().window, runtime::prop::kWidth, size.window.width);
        rt().set(u().window, runtime::prop::kHeight, size.window.height);
        for (int k : {runtime::prop::kLeft, runtime::prop::kTop, runtime::prop::kWidth, runtime::prop::kHeight})
            rt().set(control, k,
                k == runtime::prop::kLeft    ? size.control.left
                : k == runtime::prop::kTop   ? size.control.top
                : k == runtime::prop::kWidth ? size.control.width
                                             : size.control.height);
        // Captions of about two fifths of the strip: measure one character
        // of the padded caption, then pick the length that gives that width.
        // Short captions first: with more than one row the control
        // stretches the headers, and the measure would be off.
        for (int page = 0; page < 5; ++page) tabs::components::setPageCaption(page, "x");
        tabs::maxCaptionLength = 40;
        tabs::components::setPageCaption(0, tabs::CaptionFromTitle("r1", 0));
        const double perByte = (tabs::components::headerRect(0)->width - 11) / 43.0;
        // A title shorter than the length is padded to length + 3 bytes.
        tabs::maxCaptionLength = static_cast<int>(((size.control.width - 3) * 0.4 - 11) / perByte) - 3;
        for (int n = 1; n <= 5; ++n)
            tabs::components::setPageCaption(
                n - 1, tabs::CaptionFromTitle(tabs::components::locationName(browser(n)), n - 1));

        auto check = [&](const std::string& when) {
            SCOPED_TRACE(when);
            std::set<int> rows;
            tabs::Area c = tabs::components::area(control);
            tabs::Area shownBrowser;
            int browsersShown = 0;
            for (int n = 1; n <= 5; ++n)
                if (shown(browser(n))) ++browsersShown, shownBrowser = tabs::components::area(browser(n));
            ASSERT_EQ(browsersShown, 1);
            EXPECT_EQ(shownBrowser, tabs::components::area(browser(tabs::currentTab)));
            for (int i = 0; i < 5; ++i) {
                tabs::Area h = *tabs::components::headerRect(i);
                h.left += c.left, h.top += c.top;
                rows.insert(h.top);
                EXPECT_FALSE(overlaps(shownBrowser, h)) << "header " << i;
                tabs::Area b = tabs::components::area(closeButton(i + 1));
                EXPECT_TRUE(shown(closeButton(i + 1))) << "close button " << i + 1;
                EXPECT_TRUE(b.left >= h.left && b.top >= h.top && b.left + b.width <= h.left + h.width &&
                            b.top + b.height <= h.top + h.height)
                    << "close button " << i + 1 << " at " << b.left << "," << b.top << " header " << h.left << ","
                    << h.top << " " << h.width << "x" << h.height;
            }
            EXPECT_EQ(rows.size(), 3u);
            // And on the screen: no pixel of the (green) page shows in the
            // header strip, once the browser has really moved there.
            tabs::Area strip = *tabs::components::headerRect(-1);
            strip.left += c.left, strip.top += c.top;
            ASSERT_TRUE(waitFor([&] { return onScreen(browser(tabs::currentTab)) == shownBrowser; }));
            ASSERT_TRUE(
                waitFor([&] { return screenPixelAt(shownBrowser.left + 40, shownBrowser.top + 40) == 0x00c000; },
                    testsupport::kPageWait));
            EXPECT_EQ(greenPixelsIn(strip), 0);
        };
        // Headers on top as the program sets them, then at the bottom as the
        // window description has them.
        for (int position : {0, 1}) {
            SCOPED_TRACE(position == 0 ? "top" : "bottom");
            rt().set(control, runtime::prop::own(widgets::page_control::kHeaderPosition), position);
            tabs::LayOutTabBrowser(tabs::currentTab);
            tabs::ArrangeCloseButtons();
            check("first layout");
            if (position == 0) {
                // The page repaints at its new size a little after the move.
                tabs::Area b = tabs::components::area(browser(tabs::currentTab));
                waitFor([&] { return screenPixelAt(b.left + b.width - 20, b.top + b.height - 20) == 0x00c000; });
                saveShotIfAsked(std::string("header-rows-") + size.name);
            }

            // A click on the first header of each row; the clicked row moves
            // next to the page area.
            for (int page : {0, 2, 4}) {
                tabs::Area h = *tabs::components::headerRect(page);
                int ox = 0, oy = 0;
                gdk_window_get_origin(gtk_widget_get_window(rt().hostWidget(control)), &ox, &oy);
                // Each click lands elsewhere: two presses on one spot in quick
                // succession make a double click, which headers ignore.
                testsupport::xdotool("mousemove " + std::to_string(ox + h.left + 12 + 20 * page) + " " +
                                     std::to_string(oy + h.top + h.height / 2) + " click 1");
                ASSERT_TRUE(waitFor([&] { return tabs::currentTab == page + 1; }))
                    << "page " << page << " header " << h.left << "," << h.top << " " << h.width << "x" << h.height
                    << " origin " << ox << "," << oy << " current " << tabs::currentTab << " page "
                    << tabs::components::currentPage();
                check("after clicking page " + std::to_string(page));
            }
            testsupport::xdotool("mousemove 0 0");
        }
    }
}

// One row of headers that does not fit: headers scrolled out of view, and
// the one reaching under the scroll buttons, take their close buttons along.
TEST_F(TabTableGuiTest, SingleRowHidesTheCloseButtonsOfHeadersOutOfView) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    tabs::OpenInNewTab(server_.url("/three"));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return tip(2) == "Three"; }));
    rt().set(u().tabControl, runtime::prop::own(widgets::page_control::kMultiRow), 0);
    // Captions of about 350 pixels: the second header crosses the end of
    // the row and the third gets none.
    tabs::maxCaptionLength = 100;
    for (int n = 1; n <= 3; ++n)
        tabs::components::setPageCaption(
            n - 1, tabs::CaptionFromTitle(tabs::components::locationName(browser(n)), n - 1));
    tabs::components::setCurrentPage(0);
    tabs::ArrangeCloseButtons();
    ASSERT_GT(tabs::components::headerRect(1)->left + tabs::components::headerRect(1)->width, 664);
    ASSERT_EQ(tabs::components::headerRect(2)->width, 0);
    EXPECT_TRUE(shown(closeButton(1)));
    EXPECT_FALSE(shown(closeButton(2)));
    EXPECT_FALSE(shown(closeButton(3)));

    // Selecting the last page scrolls it to the front: the others go.
    tabs::components::setCurrentPage(2);
    ASSERT_EQ(tabs::components::headerRect(0)->width, 0);
    EXPECT_FALSE(shown(closeButton(1)));
    EXPECT_FALSE(shown(closeButton(2)));
    EXPECT_TRUE(shown(closeButton(3)));
    tabs::Area h = *tabs::components::headerRect(2), c = tabs::components::area(u().tabControl),
               b = tabs::components::area(closeButton(3));
    EXPECT_EQ(b.left + b.width, c.left + h.left + h.width);

    // Back to several rows: every button shows again.
    rt().set(u().tabControl, runtime::prop::own(widgets::page_control::kMultiRow), 1);
    tabs::ArrangeCloseButtons();
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(shown(closeButton(n))) << n;
}

// A tab control that holds no more pages opens no tab: no record, no
// components, no runtime error.
TEST_F(TabTableGuiTest, NoTabOpensWhenTheTabControlIsFull) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    const int components = componentCount();
    std::vector<widgets::PageControlPage> pages(4096);
    for (auto& p : pages) p.caption = "载入..";
    rt().set(u().tabControl, runtime::prop::own(widgets::page_control::kPageList),
        widgets::PageControlBlock::serializePages(pages));
    ASSERT_EQ(tabs::components::pageCount(), 4096);
    EXPECT_EQ(tabs::CreateTab(), 0);
    tabs::OpenInNewTab(server_.url("/two"));
    EXPECT_EQ(tabs::tabCount(), 1);
    EXPECT_EQ(tabs::components::pageCount(), 4096);
    EXPECT_EQ(componentCount(), components);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_TRUE(shown(browser(1)));
    EXPECT_EQ(tag(browser(1)), "1");
    // Only the first page has a tab; the rest keep no close button.
    tabs::ArrangeCloseButtons();
    EXPECT_TRUE(shown(closeButton(1)));
}

TEST_F(TabTableGuiTest, CloseButtonsWaitForTheFirstActivation) {
    tabs::layoutReady = 0;
    runtime::ComponentRef main = rt().loadWindow(testMainWindow([this](runtime::Event& e) -> runtime::Value {
        tabs::bindMainWindow(rt(), e.source);
        tabs::CreateFirstTab(server_.url("/one"));
        return {};
    }));
    mainWindow_ = main.window;
    tabs::Area before = tabs::components::area(closeButton(1));
    tabs::ArrangeCloseButtons();
    EXPECT_EQ(tabs::components::area(closeButton(1)), before);

    tabs::layoutReady = 1;
    tabs::ArrangeCloseButtons();
    auto header = tabs::components::headerRect(0);
    ASSERT_TRUE(header);
    tabs::Area control = tabs::components::area(u().tabControl);
    tabs::Area b = tabs::components::area(closeButton(1));
    EXPECT_EQ(b.left, control.left + header->left + header->width - b.width);
    tabs::Area plus = tabs::components::area(u().newTabButton);
    EXPECT_EQ(plus.left, control.left + header->left + header->width + 5);
    ASSERT_TRUE(settle());
}

TEST_F(TabTableGuiTest, BackgroundDownloadMarksTheTabLoading) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    ASSERT_TRUE(settle());
    raise(1, widgets::web_browser::event::kDownloadBegin);
    EXPECT_EQ(tabTable[0].loading, 1);
    EXPECT_EQ(tabTable[1].loading, 0);

    tabs::components::setCurrentPage(0);
    EXPECT_EQ(tabs::currentTab, 1);
    EXPECT_TRUE(shown(u().stopButton));
    EXPECT_FALSE(shown(u().refreshButton));
    EXPECT_TRUE(shown(browser(1)));
    EXPECT_FALSE(shown(browser(2)));

    // The current tab's own download begin swaps the buttons directly.
    tabs::components::setCurrentPage(1);
    EXPECT_FALSE(shown(u().stopButton));
    raise(2, widgets::web_browser::event::kDownloadBegin);
    EXPECT_TRUE(shown(u().stopButton));
    EXPECT_FALSE(shown(u().refreshButton));
    EXPECT_EQ(tabTable[1].loading, 0);
    raise(2, widgets::web_browser::event::kDownloadComplete);
    EXPECT_FALSE(shown(u().stopButton));
    EXPECT_TRUE(shown(u().refreshButton));
}

TEST_F(TabTableGuiTest, CommandStatesFollowTheCurrentRecordUpToTheLastTab) {
    openWindow(server_.url("/one"));
    tabs::OpenInNewTab(server_.url("/two"));
    tabs::OpenInNewTab(server_.url("/three"));
    ASSERT_TRUE(settle());
    ASSERT_EQ(tabState(), "1 2 3*");

    raise(3, widgets::web_browser::event::kCommandStateChange, {widgets::web_browser::command::kForward, true});
    raise(3, widgets::web_browser::event::kCommandStateChange, {widgets::web_browser::command::kBack, 1});
    raise(3, widgets::web_browser::event::kCommandStateChange, {7, true});
    EXPECT_EQ(tabTable[2].forwardEnabled, 1);
    EXPECT_EQ(tabTable[2].backEnabled, 1);
    EXPECT_EQ(tabTable[1].forwardEnabled, 0);
    // The buttons follow at the next update, not at the state change.
    EXPECT_FALSE(shown(u().forwardButton));
    raise(3, widgets::web_browser::event::kDownloadComplete);
    EXPECT_TRUE(shown(u().forwardButton));
    EXPECT_FALSE(shown(u().forwardDisabledButton));
    EXPECT_TRUE(shown(u().backButton));
    EXPECT_FALSE(shown(u().backDisabledButton));

    tabs::components::setCurrentPage(1);
    EXPECT_FALSE(shown(u().forwardButton));
    EXPECT_TRUE(shown(u().forwardDisabledButton));
    raise(3, widgets::web_browser::event::kCommandStateChange, {widgets::web_browser::command::kBack, false});
    tabs::components::setCurrentPage(2);
    EXPECT_FALSE(shown(u().backButton));
    EXPECT_TRUE(shown(u().backDisabledButton));
}

TEST_F(TabTableGuiTest, APageWithoutARecordIsRemovedWhenSelected) {
    openWindow(server_.url("/one"));
    ASSERT_TRUE(settle());
    tabs::components::addPage("stray");
    ASSERT_EQ(tabs::components::pageCount(), 2);
    tabs::components::setCurrentPage(1);
    EXPECT_EQ(tabState(), "1*");
}

}  // namespace
}  // namespace tabs_test
