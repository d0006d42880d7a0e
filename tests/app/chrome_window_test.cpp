// The window chrome on the real main window under the test display: start-up
// maximise, restore, minimum size, the put-back of a moved maximised window,
// the title-bar buttons, the painted border and the resize grip with real
// pointer input. There is no window manager here: the program places its
// window itself, and GDK runs the interactive move and resize on its own.
#include <gtest/gtest.h>

#include <string>

#include "app/chrome_handlers.h"
#include "app/window_descriptions.h"
#include "program/program_state.h"
#include "runtime/gobject_ptr.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/runtime.h"
#include "support/gui_wait.h"
#include "support/screen.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"
#include "widgets/pic_btn_props.h"
#include "widgets/widget_kinds.h"

// Last: Xlib defines macros that clash with the test framework's names.
#include <gdk/gdkx.h>

namespace {

using testsupport::screenPixel;
using testsupport::waitFor;
using testsupport::xdotool;

class ChromeWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override {
        if (!rt.hasKind("DrawPanel")) {
            runtime::registerBuiltinKinds(rt);
            widgets::registerWidgetKinds(rt);
        }
        rt.setRuntimeErrorHook([this](int code, const std::string& m) {
            errors.push_back(std::to_string(code) + " " + m);
            return true;
        });
        tabs::tabTable.assign(1, tabs::TabRecord{});
        program::shell() = program::ShellState{};
        program::shell().borderWidth = 3;
        // The start-up steps that concern the chrome: margins, then maximise.
        runtime::WindowDescription d = app::mainWindowDescription();
        d.bindings[runtime::window_event::kCreated] = [](runtime::Event& e) {
            tabs::bindMainWindow(runtime::Runtime::instance(), e.source);
            program::shell().margins = {3, 3, 3, 3};
            app::toggleMaximised();
            return runtime::Value{};
        };
        d.bindings.erase(runtime::window_event::kFirstActivated);
        window = rt.loadWindow(d);
        rt.show(window.window);
        ASSERT_TRUE(waitFor([&] { return gtk_widget_get_mapped(GTK_WIDGET(rt.gtkWindow(window.window))); }));
        settle();
    }

    void TearDown() override {
        rt.destroyWindow(window.window);
        settle();
        EXPECT_TRUE(errors.empty()) << errors.front();
    }

    // The window's rectangle as the X server has it.
    runtime::Rect serverRect() const {
        GtkWindow* w = rt.gtkWindow(window.window);
        if (!w || !gtk_widget_get_window(GTK_WIDGET(w))) return {};
        Display* dpy = gdk_x11_display_get_xdisplay(gdk_display_get_default());
        Window xid = gdk_x11_window_get_xid(gtk_widget_get_window(GTK_WIDGET(w)));
        Window root = 0, child = 0;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        XGetGeometry(dpy, xid, &root, &x, &y, &width, &height, &border, &depth);
        XTranslateCoordinates(dpy, xid, root, 0, 0, &x, &y, &child);
        return {x, y, static_cast<int>(width), static_cast<int>(height)};
    }

    // Waits until the server and the runtime agree on the window and every
    // queued message has run, so later configure reports cannot change it.
    void settle() {
        bool ok = waitFor([&] {
            testsupport::settle();
            return !rt.exists(window) || serverRect() == rect();
        });
        EXPECT_TRUE(ok) << "window never settled";
    }

    runtime::Rect rect() const { return rectOf(window); }
    runtime::Rect rectOf(runtime::ComponentRef r) const {
        return {num(r, runtime::prop::kLeft), num(r, runtime::prop::kTop), num(r, runtime::prop::kWidth),
            num(r, runtime::prop::kHeight)};
    }
    int num(runtime::ComponentRef r, int index) const { return runtime::asInt(rt.get(r, index)); }
    bool visible(runtime::ComponentRef r) const { return runtime::asBool(rt.get(r, runtime::prop::kVisible)); }
    const tabs::MainUi& u() const { return tabs::mainUi(); }

    void click(runtime::ComponentRef button) {
        rt.raise(button, widgets::pic_btn::kClick);
        settle();
    }

    static runtime::Rect expectedWorkArea() {
        GdkRectangle g{};
        gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &g);
        return {g.x - 3, g.y - 3, g.width + 7, g.height + 7};
    }

    static std::string at(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

    static bool pointerGrabbed() {
        GdkDisplay* d = gdk_display_get_default();
        return gdk_display_device_is_grabbed(d, gdk_seat_get_pointer(gdk_display_get_default_seat(d)));
    }

    runtime::Runtime& rt = runtime::Runtime::instance();
    runtime::ComponentRef window;
    std::vector<std::string> errors;
};

constexpr uint32_t kOuter = 0x2E4F8C, kMiddle = 0x3B65B5, kInner = 0x4271C9, kBackground = 0xECECEC;

TEST_F(ChromeWindowTest, StartsMaximisedOverTheWorkAreaWithTheLayoutStretched) {
    const runtime::Rect area = expectedWorkArea();
    EXPECT_EQ(app::workArea(), area);
    EXPECT_EQ(rect(), area);
    EXPECT_EQ(serverRect(), area);
    EXPECT_TRUE(app::isMaximised());
    EXPECT_EQ(program::shell().savedNormalRect, (runtime::Rect{50, 50, 1030, 750}));
    EXPECT_EQ(program::shell().maximisedWidth, area.width);
    EXPECT_EQ(program::shell().maximisedHeight, area.height);

    const int W = area.width, H = area.height;
    EXPECT_TRUE(visible(u().restoreButton));
    EXPECT_FALSE(visible(u().maximiseButton));
    EXPECT_EQ(rectOf(u().borderPanel), (runtime::Rect{0, 0, W, H}));
    EXPECT_EQ(num(u().titleLabel, runtime::prop::kWidth), W - 6);
    EXPECT_EQ(num(u().addressBox, runtime::prop::kWidth), W - 121 - 13 - 48 - 23 + 14);
    EXPECT_EQ(num(u().goButton, runtime::prop::kLeft), W - (1030 - 974));
    EXPECT_EQ(rectOf(u().tabControl), (runtime::Rect{3, 83, W - 7, H - 87}));
    // One tab: no close-current-tab button, quit 3 pixels from the edge.
    EXPECT_FALSE(visible(u().closeCurrentTabButton));
    EXPECT_EQ(num(u().quitButton, runtime::prop::kLeft), W - 42 - 3);
    EXPECT_EQ(num(u().restoreButton, runtime::prop::kLeft), W - 45 - 25);
    EXPECT_EQ(num(u().minimiseButton, runtime::prop::kLeft), W - 45 - 25 - 26);
}

TEST_F(ChromeWindowTest, RestoreGivesTheDesignRectangleAndTwoTogglesReturnIt) {
    click(u().restoreButton);
    EXPECT_EQ(rect(), (runtime::Rect{50, 50, 1030, 750}));
    EXPECT_FALSE(app::isMaximised());
    EXPECT_TRUE(visible(u().maximiseButton));
    EXPECT_FALSE(visible(u().restoreButton));
    EXPECT_EQ(num(u().addressBackgroundLeft, runtime::prop::kLeft), 121);
    EXPECT_EQ(num(u().addressBackgroundMiddle, runtime::prop::kLeft), 134);
    EXPECT_EQ(num(u().addressBackgroundMiddle, runtime::prop::kWidth), 825);
    EXPECT_EQ(num(u().addressBackgroundRight, runtime::prop::kLeft), 959);
    EXPECT_EQ(num(u().addressBox, runtime::prop::kLeft), 127);
    EXPECT_EQ(num(u().addressBox, runtime::prop::kWidth), 839);
    EXPECT_EQ(num(u().goButton, runtime::prop::kLeft), 974);

    rt.raise(u().titleLabel, runtime::event::kDoubleClick, {100, 10, 0});
    settle();
    EXPECT_EQ(rect(), expectedWorkArea());
    EXPECT_TRUE(visible(u().restoreButton));
    rt.raise(u().titleLabel, runtime::event::kDoubleClick, {100, 10, 0});
    settle();
    EXPECT_EQ(rect(), (runtime::Rect{50, 50, 1030, 750}));
    click(u().maximiseButton);
    EXPECT_EQ(rect(), expectedWorkArea());
}

TEST_F(ChromeWindowTest, SizesBelowTheMinimumSnapBack) {
    click(u().restoreButton);
    rt.set(window, runtime::prop::kWidth, 200);
    EXPECT_EQ(num(window, runtime::prop::kWidth), 320);
    rt.set(window, runtime::prop::kHeight, 100);
    EXPECT_EQ(num(window, runtime::prop::kHeight), 240);
    settle();
    EXPECT_EQ(serverRect(), (runtime::Rect{50, 50, 320, 240}));
    EXPECT_EQ(rectOf(u().borderPanel), (runtime::Rect{0, 0, 320, 240}));
    EXPECT_EQ(num(u().quitButton, runtime::prop::kLeft), 320 - 45);
}

TEST_F(ChromeWindowTest, AMovedMaximisedWindowIsPutBack) {
    const runtime::Rect area = expectedWorkArea();
    rt.set(window, runtime::prop::kLeft, 100);
    EXPECT_EQ(rect(), area);
    settle();
    EXPECT_EQ(serverRect(), area);

    // A normal window of exactly the maximised size passes for a moved
    // maximised one the next time it moves; the saved rectangle stays.
    click(u().restoreButton);
    rt.set(window, runtime::prop::kWidth, area.width);
    rt.set(window, runtime::prop::kHeight, area.height);
    EXPECT_EQ(rect(), (runtime::Rect{50, 50, area.width, area.height}));
    rt.set(window, runtime::prop::kLeft, 60);
    EXPECT_EQ(rect(), area);
    EXPECT_EQ(program::shell().savedNormalRect, (runtime::Rect{50, 50, 1030, 750}));
    settle();
}

// A window manager answers a restore in the order the requests reached it:
// the moves to the normal place (sent at once, left then top) with the
// maximised size, then the new size (sent with the next frame). The first answer can arrive after
// the program has finished asking; it must not count as a moved maximised
// window, or the restore is undone.
TEST_F(ChromeWindowTest, ARestoreReportedInStepsIsNotPutBack) {
    const runtime::Rect area = expectedWorkArea();
    GtkWidget* gw = GTK_WIDGET(rt.gtkWindow(window.window));
    auto report = [&](const runtime::Rect& r) {
        runtime::CPtr<GdkEvent, gdk_event_free> e(gdk_event_new(GDK_CONFIGURE));
        e->configure.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(gw)));
        e->configure.send_event = TRUE;
        e->configure.x = r.left;
        e->configure.y = r.top;
        e->configure.width = r.width;
        e->configure.height = r.height;
        gtk_main_do_event(e.get());
    };
    rt.raise(u().restoreButton, widgets::pic_btn::kClick);
    report({50, area.top, area.width, area.height});
    report({50, 50, area.width, area.height});
    EXPECT_FALSE(app::isMaximised());
    report({50, 50, 1030, 750});
    settle();
    EXPECT_EQ(rect(), (runtime::Rect{50, 50, 1030, 750}));
    EXPECT_EQ(serverRect(), (runtime::Rect{50, 50, 1030, 750}));

    // Maximised again, a late report of the old normal place with the
    // maximised size is a moved maximised window once more.
    click(u().maximiseButton);
    ASSERT_EQ(rect(), area);
    report({50, 50, area.width, area.height});
    EXPECT_EQ(rect(), area);
    settle();
    EXPECT_EQ(serverRect(), area);
}

TEST_F(ChromeWindowTest, CloseCurrentTabButtonTakesTheEdgeWithMoreTabs) {
    const int W = rect().width;
    tabs::tabTable.resize(2);
    app::ArrangeTitleBarButtons();
    EXPECT_TRUE(visible(u().closeCurrentTabButton));
    EXPECT_EQ(num(u().closeCurrentTabButton, runtime::prop::kLeft), W - 25 - 3);
    EXPECT_EQ(num(u().quitButton, runtime::prop::kLeft), W - 25 - 3 - 3 - 42);
    tabs::tabTable.resize(1);
    app::ArrangeTitleBarButtons();
    EXPECT_FALSE(visible(u().closeCurrentTabButton));
    EXPECT_EQ(num(u().quitButton, runtime::prop::kLeft), W - 42 - 3);
}

TEST_F(ChromeWindowTest, BorderIsPaintedInThreeColoursInsideTheShape) {
    click(u().restoreButton);
    const int L = 50, T = 50, W = 1030, H = 750;
    // The screen catches up with the new size a frame or two later, and
    // the edges need not all come in the same frame: wait for all of them.
    EXPECT_TRUE(waitFor([&] {
        return screenPixel(L + 1, T + 300) == kMiddle && screenPixel(L + W - 3, T + 300) == kMiddle &&
               screenPixel(L + W - 1, T + 300) != kBackground && screenPixel(L + 500, T + 0) == kOuter &&
               screenPixel(L + 500, T + H - 2) == kOuter;
    })) << "border never painted";
    EXPECT_EQ(screenPixel(L + 0, T + 300), kOuter);
    EXPECT_EQ(screenPixel(L + 2, T + 300), kInner);
    EXPECT_EQ(screenPixel(L + W - 2, T + 300), kOuter);
    EXPECT_EQ(screenPixel(L + W - 3, T + 300), kMiddle);
    EXPECT_EQ(screenPixel(L + W - 4, T + 300), kInner);
    EXPECT_EQ(screenPixel(L + 500, T + 0), kOuter);
    EXPECT_EQ(screenPixel(L + 500, T + H - 2), kOuter);
    // The shape leaves out the last column and row and the corner pixels:
    // the empty screen shows through there.
    const uint32_t screen = screenPixel(5, 5);
    EXPECT_NE(screen, kBackground);
    EXPECT_EQ(screenPixel(L + W - 1, T + 300), screen);
    EXPECT_EQ(screenPixel(L + 500, T + H - 1), screen);
    EXPECT_EQ(screenPixel(L, T), screen);
    EXPECT_EQ(screenPixel(L + 1, T), kOuter);
}

TEST_F(ChromeWindowTest, GripCursorsAndNoResizeFromAPressInTheInterior) {
    const int W = rect().width;
    rt.raise(u().borderPanel, runtime::event::kMouseMove, {W - 6, 300, 0});
    EXPECT_EQ(num(u().borderPanel, runtime::prop::kCursor), runtime::cursor::kSizeWe);
    rt.raise(u().borderPanel, runtime::event::kMouseMove, {2, 2, 0});
    EXPECT_EQ(num(u().borderPanel, runtime::prop::kCursor), runtime::cursor::kSizeNwse);
    rt.raise(u().borderPanel, runtime::event::kMouseMove, {W - 7, 300, 0});
    EXPECT_EQ(num(u().borderPanel, runtime::prop::kCursor), runtime::cursor::kArrow);
    // On X a press may come without a move before it: the last move was on
    // the right edge, the press is in the interior and resizes nothing.
    rt.raise(u().borderPanel, runtime::event::kMouseMove, {W - 6, 300, 0});
    rt.raise(u().borderPanel, runtime::event::kLeftDown, {W - 7, 300, 0});
    EXPECT_EQ(num(u().borderPanel, runtime::prop::kCursor), runtime::cursor::kArrow);
    settle();
    EXPECT_FALSE(pointerGrabbed()) << "a press in the interior started a resize";
    EXPECT_EQ(rect(), expectedWorkArea());
}

TEST_F(ChromeWindowTest, DraggingTheLeftEdgeResizesAndTheLayoutFollows) {
    click(u().restoreButton);
    const int y = 50 + 300;
    // The panel hears the pointer from its second move over it on.
    xdotool("mousemove " + at(50 + 2, y - 1));
    settle();
    xdotool("mousemove " + at(50 + 1, y));
    ASSERT_TRUE(waitFor([&] { return num(u().borderPanel, runtime::prop::kCursor) == runtime::cursor::kSizeWe; }));
    xdotool("mousedown 1");
    settle();
    xdotool("mousemove " + at(50 + 1 + 100, y));
    settle();
    xdotool("mousemove " + at(50 + 1 + 200, y));
    EXPECT_TRUE(waitFor([&] { return rect().width == 830; })) << "width " << rect().width;
    xdotool("mouseup 1");
    settle();
    EXPECT_EQ(rect(), (runtime::Rect{250, 50, 830, 750}));
    EXPECT_EQ(num(u().goButton, runtime::prop::kLeft), 830 - (1030 - 974));
    EXPECT_EQ(num(u().quitButton, runtime::prop::kLeft), 830 - 45);
}

TEST_F(ChromeWindowTest, MinimiseAsksTheSystemToIconify) {
    click(u().minimiseButton);
    // Without a window manager nothing iconifies the window; the state the
    // program asked for is what it reads back.
    EXPECT_EQ(num(window, runtime::window_prop::kState), runtime::window_prop::kStateMinimised);
    // Restoring from the minimised state sets it normal again.
    click(u().restoreButton);
    EXPECT_EQ(num(window, runtime::window_prop::kState), runtime::window_prop::kStateNormal);
    EXPECT_EQ(rect(), (runtime::Rect{50, 50, 1030, 750}));
}

}  // namespace
