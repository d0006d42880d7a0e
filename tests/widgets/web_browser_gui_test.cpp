// The WebBrowser kind on a real WebKit view, against pages served by the
// test's own server on 127.0.0.1. Needs a display (scripts/with-xvfb).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "runtime/gbk.h"
#include "runtime/property_block.h"
#include "support/gui_wait.h"
#include "support/page_server.h"
#include "support/web_processes.h"
#include "widgets/web_browser.h"
#include "widgets/web_browser_component.h"
#include "widgets/web_browser_view.h"
#include "widgets/web_guard.h"
#include "widgets/widget_kinds.h"

namespace {

using testsupport::clickAt;
using testsupport::PageServer;
using testsupport::webProcessCount;

// No accessibility bus; this must be set before the first web process starts.
const bool kEnvironment = [] {
    setenv("NO_AT_BRIDGE", "1", 0);
    return true;
}();

struct Logged {
    runtime::ComponentRef source;
    int index;
    std::vector<runtime::Value> args;
};

runtime::Bytes browserBlock(uint32_t version, int32_t border, bool silent, bool offline = false, bool drop = true) {
    runtime::BlockWriter w;
    w.u32(version).i32(border).u32(silent).u32(offline).u32(drop).u32(0);
    return w.take();
}

class WebBrowserGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override { widgets::registerWebBrowserKind(rt_); }

    // Loads a window with one browser made from the block; its every event
    // goes to the log and then to onEvent, if set.
    std::optional<runtime::ComponentRef> load(const runtime::Bytes& block) {
        runtime::WindowDescription desc;
        desc.name = "test";
        desc.rect = {0, 0, 640, 480};
        runtime::ComponentDescription c;
        c.kind = "WebBrowser";
        c.name = "browser";
        c.rect = {10, 10, 600, 440};
        c.block = block;
        for (int i = 0; i <= widgets::web_browser::event::kContextMenu; ++i)
            c.bindings[i] = [this](runtime::Event& e) {
                log_.push_back({e.source, e.index, e.args});
                return onEvent ? onEvent(e) : runtime::Value{};
            };
        desc.components.push_back(c);
        window_ = rt_.loadWindow(desc).window;
        rt_.show(window_);
        return rt_.find(window_, "browser");
    }

    runtime::ComponentRef browser(const runtime::Bytes& block = browserBlock(1, 0, true)) {
        auto ref = load(block);
        EXPECT_TRUE(ref);
        return ref.value_or(runtime::ComponentRef{});
    }

    // Runs the main loop until the condition holds; false after the limit.
    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = testsupport::kPageWait) {
        return testsupport::waitFor(done, timeout);
    }

    const Logged* find(runtime::ComponentRef source, int index, int nth = 0) const {
        for (const Logged& l : log_)
            if (l.source == source && l.index == index && nth-- == 0) return &l;
        return nullptr;
    }
    int count(runtime::ComponentRef source, int index) const {
        int n = 0;
        for (const Logged& l : log_) n += l.source == source && l.index == index;
        return n;
    }
    bool waitEvent(runtime::ComponentRef source, int index, int nth = 0) {
        return waitFor([&] { return find(source, index, nth) != nullptr; });
    }

    // Navigates and waits for the load's download-complete event.
    bool open(runtime::ComponentRef b, const std::string& url) {
        int before = count(b, widgets::web_browser::event::kDownloadComplete);
        rt_.call(b, widgets::web_browser::method::kNavigate, {url});
        return waitEvent(b, widgets::web_browser::event::kDownloadComplete, before);
    }

    std::string text(runtime::ComponentRef b, int k) {
        return runtime::asText(rt_.get(b, widgets::web_browser::prop::index(k)));
    }

    runtime::Runtime rt_;
    uint32_t window_ = 0;
    PageServer server_;
    std::vector<Logged> log_;
    std::function<runtime::Value(runtime::Event&)> onEvent;
};

TEST_F(WebBrowserGuiTest, OneNavigationRaisesItsEventsInOrder) {
    // The page is GBK and says so only in its header.
    server_.add("/gbk", runtime::gbk::encode("<html><head><title>测试页 GBK</title></head><body>好</body></html>"),
        "text/html; charset=gbk");
    auto b = browser();
    std::string url = server_.url("/gbk");
    ASSERT_TRUE(open(b, url));

    // The title may arrive before or after the load finishes.
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kTitleChange));
    std::vector<int> order;
    for (const Logged& l : log_)
        if (l.source == b && l.index != widgets::web_browser::event::kStatusTextChange) order.push_back(l.index);
    auto first = [&](int index) { return std::find(order.begin(), order.end(), index) - order.begin(); };
    auto last = [&](int index) { return order.rend() - std::find(order.rbegin(), order.rend(), index) - 1; };
    SCOPED_TRACE(testing::PrintToString(order));
    EXPECT_EQ(order.front(), widgets::web_browser::event::kBeforeNavigate);
    EXPECT_EQ(first(widgets::web_browser::event::kDownloadBegin), 1);
    EXPECT_LT(first(widgets::web_browser::event::kDownloadBegin), first(widgets::web_browser::event::kProgressChange));
    EXPECT_LT(
        first(widgets::web_browser::event::kProgressChange), first(widgets::web_browser::event::kNavigateComplete));
    EXPECT_LT(first(widgets::web_browser::event::kNavigateComplete), first(widgets::web_browser::event::kTitleChange));
    EXPECT_LT(
        last(widgets::web_browser::event::kProgressChange), first(widgets::web_browser::event::kDocumentComplete));
    EXPECT_LT(
        first(widgets::web_browser::event::kNavigateComplete), first(widgets::web_browser::event::kDocumentComplete));
    EXPECT_EQ(first(widgets::web_browser::event::kDocumentComplete) + 1,
        first(widgets::web_browser::event::kDownloadComplete));
    for (int once : {0, 2, 3, 5, 6}) EXPECT_EQ(std::count(order.begin(), order.end(), once), 1) << once;

    EXPECT_EQ(find(b, widgets::web_browser::event::kBeforeNavigate)->args.size(), 7u);
    EXPECT_EQ(runtime::asText(find(b, widgets::web_browser::event::kBeforeNavigate)->args[0]), url);
    EXPECT_EQ(runtime::asText(find(b, widgets::web_browser::event::kNavigateComplete)->args[0]), url);
    EXPECT_EQ(runtime::asText(find(b, widgets::web_browser::event::kDocumentComplete)->args[0]), url);
    EXPECT_EQ(runtime::asText(find(b, widgets::web_browser::event::kTitleChange)->args[0]), "测试页 GBK");
    const Logged* progress = find(
        b, widgets::web_browser::event::kProgressChange, count(b, widgets::web_browser::event::kProgressChange) - 1);
    EXPECT_EQ(runtime::asInt(progress->args[0]), widgets::web_browser::kProgressMaximum);
    EXPECT_EQ(runtime::asInt(progress->args[1]), widgets::web_browser::kProgressMaximum);
    // A finished load clears the status text.
    auto done = std::find_if(log_.begin(), log_.end(),
        [](const Logged& l) { return l.index == widgets::web_browser::event::kDownloadComplete; });
    auto status = std::find_if(
        done, log_.end(), [](const Logged& l) { return l.index == widgets::web_browser::event::kStatusTextChange; });
    ASSERT_NE(status, log_.end());
    EXPECT_EQ(runtime::asText(status->args[0]), "");

    EXPECT_EQ(text(b, widgets::web_browser::prop::kLocationUrl), url);
    EXPECT_EQ(text(b, widgets::web_browser::prop::kLocationName), "测试页 GBK");
    EXPECT_EQ(text(b, widgets::web_browser::prop::kType), "text/html");
    EXPECT_EQ(
        runtime::asInt(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kReadyState))), 4);
    EXPECT_FALSE(runtime::asBool(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kBusy))));
    EXPECT_NE(text(b, widgets::web_browser::prop::kFullName).find("widgets_gui_tests"), std::string::npos);
}

TEST_F(WebBrowserGuiTest, BackAndForwardStatesFollowTheHistory) {
    server_.add("/a", "<title>A</title>a");
    server_.add("/b", "<title>B</title>b");
    auto b = browser();
    ASSERT_TRUE(open(b, server_.url("/a")));
    EXPECT_EQ(count(b, widgets::web_browser::event::kCommandStateChange), 0);
    ASSERT_TRUE(open(b, server_.url("/b")));
    const Logged* back = find(b, widgets::web_browser::event::kCommandStateChange);
    ASSERT_TRUE(back);
    EXPECT_EQ(runtime::asInt(back->args[0]), widgets::web_browser::command::kBack);
    EXPECT_TRUE(runtime::asBool(back->args[1]));

    rt_.call(b, widgets::web_browser::method::kGoBack);
    ASSERT_TRUE(waitFor([&] { return count(b, widgets::web_browser::event::kCommandStateChange) >= 3; }));
    EXPECT_EQ(runtime::asInt(find(b, widgets::web_browser::event::kCommandStateChange, 1)->args[0]),
        widgets::web_browser::command::kForward);
    EXPECT_TRUE(runtime::asBool(find(b, widgets::web_browser::event::kCommandStateChange, 1)->args[1]));
    EXPECT_EQ(runtime::asInt(find(b, widgets::web_browser::event::kCommandStateChange, 2)->args[0]),
        widgets::web_browser::command::kBack);
    EXPECT_FALSE(runtime::asBool(find(b, widgets::web_browser::event::kCommandStateChange, 2)->args[1]));
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationUrl) == server_.url("/a"); }));

    rt_.call(b, widgets::web_browser::method::kGoForward);
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationUrl) == server_.url("/b"); }));
}

TEST_F(WebBrowserGuiTest, NewWindowFromAClickLoadsIntoTheAcceptingControl) {
    // A page cannot open windows on its own: the window.open at load time is
    // refused, only the one from the click arrives.
    server_.add("/opener",
        "<body style='margin:0'><script>window.open('/blocked')</script>"
        "<a href='#' onclick=\"window.open('/popup', '', 'width=300,height=200');return false\" "
        "style='display:block;width:100%;height:400px'>open</a></body>");
    server_.add("/popup", "<title>Popup</title>popup");
    auto opener = browser();
    auto second = rt_.copy(opener);
    ASSERT_TRUE(second);
    rt_.set(*second, runtime::prop::kVisible, false);
    onEvent = [&](runtime::Event& e) -> runtime::Value {
        if (e.index == widgets::web_browser::event::kNewWindow) {
            rt_.set(*second, runtime::prop::kVisible, true);
            EXPECT_TRUE(
                runtime::asBool(rt_.call(*second, widgets::web_browser::method::kAcceptNewWindow, {e.args[0]})));
            // The program's handler lets pending messages run before it returns.
            rt_.processPendingMessages();
        }
        return {};
    };
    ASSERT_TRUE(open(opener, server_.url("/opener")));

    // The click goes straight to the view's own window, so other programs'
    // windows on the same display cannot catch it.
    auto* view = dynamic_cast<widgets::web_browser::WebBrowser*>(rt_.component(opener))->view();
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(view));
    clickAt(target, 100, 100);

    ASSERT_TRUE(waitEvent(*second, widgets::web_browser::event::kDocumentComplete));
    EXPECT_EQ(
        runtime::asText(find(*second, widgets::web_browser::event::kDocumentComplete)->args[0]), server_.url("/popup"));
    ASSERT_TRUE(waitEvent(*second, widgets::web_browser::event::kTitleChange));
    EXPECT_EQ(text(*second, widgets::web_browser::prop::kLocationName), "Popup");
    EXPECT_EQ(count(opener, widgets::web_browser::event::kNewWindow), 1);
    // The window size the page asked for reaches the accepting control.
    ASSERT_TRUE(find(*second, widgets::web_browser::event::kWindowSetWidth));
    EXPECT_EQ(runtime::asInt(find(*second, widgets::web_browser::event::kWindowSetWidth)->args[0]), 300);
    ASSERT_TRUE(find(*second, widgets::web_browser::event::kWindowSetHeight));
    EXPECT_EQ(runtime::asInt(find(*second, widgets::web_browser::event::kWindowSetHeight)->args[0]), 200);
    EXPECT_EQ(server_.hits("/blocked"), 0);
    EXPECT_EQ(text(opener, widgets::web_browser::prop::kLocationUrl), server_.url("/opener"));
    // The slot closed with its event.
    EXPECT_FALSE(runtime::asBool(rt_.call(*second, widgets::web_browser::method::kAcceptNewWindow,
        {find(opener, widgets::web_browser::event::kNewWindow)->args[0]})));
}

TEST_F(WebBrowserGuiTest, PressesOutsideThePageGiveAFloodingClickNoMoreWindows) {
    // One click whose handler asks for sixty windows gets twenty, however
    // often the user presses elsewhere meanwhile (on the close buttons of
    // the tabs the flood opened, say). The next click in the page is a new
    // gesture with twenty of its own.
    server_.add("/flood",
        "<body style='margin:0'><script>window.n = 0</script>"
        "<a href='#' onclick=\"for (var i = 0; i < 60; ++i) window.open('/p' + i); "
        "document.title = 'done:' + (++window.n); return false\" "
        "style='display:block;width:100%;height:400px'>flood</a></body>");
    auto b = browser();
    ASSERT_TRUE(open(b, server_.url("/flood")));
    auto* view = dynamic_cast<widgets::web_browser::WebBrowser*>(rt_.component(b))->view();
    GdkWindow* page = gtk_widget_get_window(GTK_WIDGET(view));
    GdkWindow* outside = gtk_widget_get_window(gtk_widget_get_toplevel(GTK_WIDGET(view)));
    ASSERT_NE(page, outside);
    int asked = 0;
    onEvent = [&](runtime::Event& e) -> runtime::Value {
        // A press outside the page after every fifth window; the windows
        // themselves are declined, the budget counts the asking.
        if (e.index == widgets::web_browser::event::kNewWindow && ++asked % 5 == 0) {
            clickAt(outside, 2, 2);
            clickAt(outside, 2, 2, 3);
        }
        return {};
    };
    clickAt(page, 100, 100);
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "done:1"; }));
    EXPECT_EQ(asked, widgets::web_browser::PopupBudget::kPerGesture);
    clickAt(page, 100, 100);
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "done:2"; }));
    EXPECT_EQ(asked, 2 * widgets::web_browser::PopupBudget::kPerGesture);
}

TEST_F(WebBrowserGuiTest, ClickAndContextMenuCanBeRefused) {
    server_.add("/clicks",
        "<body style='margin:0;height:400px' oncontextmenu=\"document.title='menu'\" "
        "onclick=\"document.title='clicked:' + (++window.n)\"><script>window.n = 0</script></body>");
    auto b = browser();
    ASSERT_TRUE(open(b, server_.url("/clicks")));
    bool refuse = true;
    onEvent = [&](runtime::Event& e) -> runtime::Value {
        if (e.index == widgets::web_browser::event::kDocumentClick ||
            e.index == widgets::web_browser::event::kContextMenu)
            return !refuse;
        return {};
    };
    GdkWindow* target = gtk_widget_get_window(
        GTK_WIDGET(dynamic_cast<widgets::web_browser::WebBrowser*>(rt_.component(b))->view()));
    clickAt(target, 50, 60);
    refuse = false;
    clickAt(target, 50, 60);
    // Had the first click reached the page, the count would be 2.
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "clicked:1"; }));
    ASSERT_EQ(count(b, widgets::web_browser::event::kDocumentClick), 2);
    EXPECT_EQ(runtime::asInt(find(b, widgets::web_browser::event::kDocumentClick)->args[0]), 50);
    EXPECT_EQ(runtime::asInt(find(b, widgets::web_browser::event::kDocumentClick)->args[1]), 60);

    refuse = true;
    clickAt(target, 50, 60, 3);
    // The page sees its contextmenu event first; the menu is the control's.
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kContextMenu));
    EXPECT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "menu"; }));
}

TEST_F(WebBrowserGuiTest, EditingPropertiesFollowTheSelection) {
    server_.add("/edit",
        "<div id=e contenteditable=true><b>bold</b> plain</div><script>"
        "var r = document.createRange(); r.selectNodeContents(document.querySelector('b'));"
        "getSelection().addRange(r);</script>");
    auto b = browser();
    ASSERT_TRUE(open(b, server_.url("/edit")));
    auto get = [&](int k) { return rt_.get(b, widgets::web_browser::prop::index(k)); };
    EXPECT_TRUE(runtime::asBool(get(widgets::web_browser::prop::kBold)));
    EXPECT_FALSE(runtime::asBool(get(widgets::web_browser::prop::kItalic)));
    EXPECT_FALSE(runtime::asText(get(widgets::web_browser::prop::kFontName)).empty());
    EXPECT_TRUE(waitFor([&] { return runtime::asBool(get(widgets::web_browser::prop::kCanCopy)); }));
    rt_.set(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kForeColour), 0x000000FF);
    EXPECT_EQ(runtime::asInt(get(widgets::web_browser::prop::kForeColour)), 0x000000FF);

    EXPECT_FALSE(runtime::asBool(get(widgets::web_browser::prop::kEditMode)));
    rt_.set(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kEditMode), true);
    EXPECT_TRUE(runtime::asBool(get(widgets::web_browser::prop::kEditMode)));
}

TEST_F(WebBrowserGuiTest, SilentControlAnswersScriptDialogsUnseen) {
    server_.add("/dialogs",
        "<script>alert('a'); var c = confirm('b'); var p = prompt('c', 'd');"
        "document.title = 'done:' + c + ':' + p;</script>");
    auto b = browser(browserBlock(1, 0, true));
    ASSERT_TRUE(open(b, server_.url("/dialogs")));
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "done:false:null"; }));
}

TEST_F(WebBrowserGuiTest, NewerBlockVersionIsNotCreated) {
    EXPECT_FALSE(load(browserBlock(2, 0, true)));
    EXPECT_FALSE(load({1, 0, 0, 0}));
    EXPECT_TRUE(load({}));
}

TEST_F(WebBrowserGuiTest, StopRefreshHeadersAndCancel) {
    server_.add("/count", "<title>count</title>");
    auto b = browser();

    rt_.call(b, widgets::web_browser::method::kNavigate, {server_.url("/hang")});
    ASSERT_TRUE(waitFor([&] { return server_.hits("/hang") == 1; }));
    EXPECT_TRUE(runtime::asBool(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kBusy))));
    rt_.call(b, widgets::web_browser::method::kStop);
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kDownloadComplete));
    EXPECT_FALSE(runtime::asBool(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kBusy))));
    // A stopped load still ends its progress, so no display stays half full.
    const Logged* progress = find(
        b, widgets::web_browser::event::kProgressChange, count(b, widgets::web_browser::event::kProgressChange) - 1);
    ASSERT_TRUE(progress);
    EXPECT_EQ(runtime::asInt(progress->args[0]), widgets::web_browser::kProgressMaximum);

    int before = count(b, widgets::web_browser::event::kDownloadComplete);
    rt_.call(b, widgets::web_browser::method::kNavigate,
        {server_.url("/count"), 0, std::string(), std::string("X-Varomel-Test: yes\r\n")});
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kDownloadComplete, before));
    EXPECT_EQ(server_.header("X-Varomel-Test"), "yes");
    rt_.call(b, widgets::web_browser::method::kRefresh);
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kDownloadComplete, before + 1));
    EXPECT_EQ(server_.hits("/count"), 2);

    // A handler that sets the cancel flag keeps the page where it is.
    onEvent = [](runtime::Event& e) -> runtime::Value {
        if (e.index == widgets::web_browser::event::kBeforeNavigate && runtime::asText(e.args[0]).ends_with("/refused"))
            e.args[widgets::web_browser::event::kBeforeNavigateCancelArg] = -1;
        return {};
    };
    rt_.call(b, widgets::web_browser::method::kNavigate, {server_.url("/refused")});
    ASSERT_TRUE(open(b, server_.url("/count")));
    EXPECT_EQ(server_.hits("/refused"), 0);
    EXPECT_FALSE(runtime::asBool(rt_.call(b, widgets::web_browser::method::kNavigate, {std::string("  ")})));
}

TEST_F(WebBrowserGuiTest, OfflineControlMakesNoNetworkLoads) {
    server_.add("/page", "page");
    auto b = browser(browserBlock(1, 0, true, true));
    EXPECT_TRUE(runtime::asBool(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kOffline))));
    rt_.call(b, widgets::web_browser::method::kNavigate, {server_.url("/page")});
    ASSERT_TRUE(waitEvent(b, widgets::web_browser::event::kBeforeNavigate));
    ASSERT_TRUE(open(b, "data:text/html,<title>local</title>"));
    EXPECT_EQ(server_.hits("/page"), 0);
    rt_.set(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kOffline), false);
    ASSERT_TRUE(open(b, server_.url("/page")));
    EXPECT_EQ(server_.hits("/page"), 1);
}

TEST_F(WebBrowserGuiTest, CopyBehavesLikeItsSource) {
    server_.add("/copy", "<title>copied</title><script>alert('x'); document.title = 'after';</script>");
    auto source = browser(browserBlock(1, 4, true, false, false));
    auto copy = rt_.copy(source);
    ASSERT_TRUE(copy);
    for (int k : {widgets::web_browser::prop::kBorderStyle, widgets::web_browser::prop::kSilent,
             widgets::web_browser::prop::kOffline, widgets::web_browser::prop::kRegisterAsDropTarget,
             widgets::web_browser::prop::kRegisterAsBrowser})
        EXPECT_EQ(runtime::asInt(rt_.get(*copy, widgets::web_browser::prop::index(k))),
            runtime::asInt(rt_.get(source, widgets::web_browser::prop::index(k))))
            << k;
    ASSERT_TRUE(open(*copy, server_.url("/copy")));
    EXPECT_EQ(count(source, widgets::web_browser::event::kDownloadComplete), 0);
    ASSERT_TRUE(waitFor([&] { return text(*copy, widgets::web_browser::prop::kLocationName) == "after"; }));
}

// Points *slot at the widget until the widget is finalised.
void watchUntilFinalised(GtkWidget* widget, gpointer slot) {
    *static_cast<gpointer*>(slot) = widget;
    g_object_add_weak_pointer(G_OBJECT(widget), static_cast<gpointer*>(slot));
}

TEST_F(WebBrowserGuiTest, DestroyedControlsLeaveNoViewsOrWebProcesses) {
    server_.add("/cycle", "<title>cycle</title>");
    auto source = browser();
    ASSERT_TRUE(open(source, server_.url("/cycle")));
    int views = widgets::web_browser::liveViewCount();
    int processes = webProcessCount();
    // Every widget inside a view, its hidden internal ones included, must
    // go with it: a view that left one behind would leak it per tab.
    std::array<gpointer, 50> insides{};
    for (int i = 0; i < 50; ++i) {
        auto c = rt_.copy(source);
        ASSERT_TRUE(c);
        ASSERT_TRUE(open(*c, server_.url("/cycle"))) << i;
        auto* view = dynamic_cast<widgets::web_browser::WebBrowser*>(rt_.component(*c))->view();
        gtk_container_forall(GTK_CONTAINER(view), watchUntilFinalised, &insides[i]);
        EXPECT_NE(insides[i], nullptr) << i;
        rt_.destroy(*c);
        EXPECT_FALSE(rt_.exists(*c));
    }
    EXPECT_TRUE(waitFor([&] { return widgets::web_browser::liveViewCount() == views; }, std::chrono::seconds(60)))
        << widgets::web_browser::liveViewCount();
    EXPECT_EQ(std::count(insides.begin(), insides.end(), nullptr), 50) << "widgets left behind by destroyed views";
    EXPECT_TRUE(waitFor([&] { return webProcessCount() <= processes; }, std::chrono::seconds(60)))
        << webProcessCount() << " web processes, " << processes << " before";
}

}  // namespace

namespace {

TEST_F(WebBrowserGuiTest, AFailedLoadShowsAnExplanationAtTheFailedAddress) {
    auto b = browser();
    // A port that was free a moment ago: nothing listens there.
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), len), 0);
    ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    close(fd);
    std::string address = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/missing";
    rt_.call(b, widgets::web_browser::method::kNavigate, {address});
    ASSERT_TRUE(waitFor([&] {
        return runtime::asText(rt_.get(b,
                   widgets::web_browser::prop::index(widgets::web_browser::prop::kLocationName))) == "无法显示此网页";
    }));
    EXPECT_EQ(runtime::asText(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kLocationUrl))),
        address);
}

}  // namespace

namespace {

// An error answer without a page the engine could show (what a proxy sends
// when it refuses an https tunnel) is a failure too: the engine alone would
// show nothing and forget the address.
TEST_F(WebBrowserGuiTest, AnErrorAnswerWithoutAPageIsAFailedLoad) {
    auto b = browser();
    server_.add("/gateway", "", "application/octet-stream", 502);
    rt_.call(b, widgets::web_browser::method::kNavigate, {server_.url("/gateway")});
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "无法显示此网页"; }));
    EXPECT_EQ(text(b, widgets::web_browser::prop::kLocationUrl), server_.url("/gateway"));

    // An answer the engine does not show that is no error stays the
    // engine's business: the page before it stays.
    server_.add("/file.bin", std::string(64, 'x'), "application/octet-stream");
    server_.add("/shown", "<title>shown</title>");
    ASSERT_TRUE(open(b, server_.url("/shown")));
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "shown"; }));
    rt_.call(b, widgets::web_browser::method::kNavigate, {server_.url("/file.bin")});
    ASSERT_TRUE(waitFor([&] { return server_.hits("/file.bin") == 1; }));
    ASSERT_TRUE(waitFor([&] {
        return !runtime::asBool(rt_.get(b, widgets::web_browser::prop::index(widgets::web_browser::prop::kBusy)));
    }));
    EXPECT_EQ(text(b, widgets::web_browser::prop::kLocationName), "shown");
}

// A page reached through a redirect reports where the redirect ended as its
// location and keeps the address it was asked for; the only-tab cycle
// depends on the second.
TEST_F(WebBrowserGuiTest, ARedirectedPageKeepsTheAddressItWasAskedFor) {
    auto b = browser();
    server_.add("/landing", "<title>landing</title>");
    server_.addRedirect("/start", "/landing");
    server_.addRedirect("/twice", "/start");
    EXPECT_EQ(widgets::requestedUrl(rt_, b), "");  // nothing shown yet
    ASSERT_TRUE(open(b, server_.url("/twice")));
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "landing"; }));
    EXPECT_EQ(text(b, widgets::web_browser::prop::kLocationUrl), server_.url("/landing"));
    EXPECT_EQ(widgets::requestedUrl(rt_, b), server_.url("/twice"));

    // A later load without a redirect speaks for itself again.
    server_.add("/plain", "<title>plain</title>");
    ASSERT_TRUE(open(b, server_.url("/plain")));
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "plain"; }));
    EXPECT_EQ(widgets::requestedUrl(rt_, b), server_.url("/plain"));

    // Going back shows the redirected entry with its first address.
    rt_.call(b, widgets::web_browser::method::kGoBack);
    ASSERT_TRUE(waitFor([&] { return text(b, widgets::web_browser::prop::kLocationName) == "landing"; }));
    EXPECT_EQ(widgets::requestedUrl(rt_, b), server_.url("/twice"));
    // Something that is no browser has no address.
    EXPECT_EQ(widgets::requestedUrl(rt_, runtime::ComponentRef{}), "");
}

}  // namespace
