#include "startup.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "chrome_handlers.h"
#include "crashguard/crash_guard.h"
#include "program/program_state.h"
#include "runtime/gbk.h"
#include "runtime/kinds/builtin_kinds.h"
#include "shortcut_glue.h"
#include "single_instance.h"
#include "startup_handlers.h"
#include "sysutil/working_set.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"
#include "tooltips.h"
#include "widgets/page_control.h"
#include "widgets/web_browser_view.h"
#include "widgets/widget_kinds.h"
#include "window_descriptions.h"

namespace app {

namespace {

constexpr guint kTrimIntervalMs = 1000;

// Texts live as UTF-8 inside the program. An argument that is not UTF-8 was
// most likely written in the GBK code page the program's texts come from;
// bytes that are not GBK either become U+FFFD, so no invalid text ever
// reaches an edit box or the browser.
std::string argumentText(const char* arg) {
    if (g_utf8_validate(arg, -1, nullptr)) return arg;
    return runtime::gbk::decode(arg);
}

void markOrFindInstance(runtime::ComponentRef window) {
    GtkWindow* gw = runtime::Runtime::instance().gtkWindow(window.window);
    GdkDisplay* gd = gw ? gtk_widget_get_display(GTK_WIDGET(gw)) : nullptr;
    if (!gd || !GDK_IS_X11_DISPLAY(gd)) return;
    GdkWindow* win = gtk_widget_get_window(GTK_WIDGET(gw));
    if (!win) return;
    runSingleInstanceCheck(gdk_x11_display_get_xdisplay(gd), gdk_x11_window_get_xid(win), program::kInstanceMarker);
}

}  // namespace

runtime::Value onMainWindowCreated(runtime::Event& e) {
    runtime::Runtime& runtime = runtime::Runtime::instance();
    tabs::bindMainWindow(runtime, e.source);
    tabs::MainUi& u = tabs::mainUi();
    program::ShellState& s = program::shell();

    crashguard::configure();
    runtime.setRuntimeErrorHook(crashguard::onRuntimeError);

    if (!s.firstArgument.empty()) markOrFindInstance(e.source);

    s.margins = {3, 3, 3, 3};
    tabs::shellHooks().arrangeTitleBarButtons = ArrangeTitleBarButtons;
    toggleMaximised();

    runtime::ComponentRef status = runtime.loadWindow(statusWindowDescription(), e.source, false);
    tabs::bindStatusWindow(runtime, status);
    // The maximise above ran before the status window existed, so its size
    // change could not place it; without this it would stay at its design
    // place over the toolbar until the main window next moves or resizes.
    tabs::PlaceStatusWindow();

    // The progress timer's tick only hides or repaints the load-progress
    // label, which does nothing while the label is hidden: let it sleep then.
    if (runtime.exists(u.progressTimer) && runtime.exists(u.loadProgressLabel))
        runtime.sleepWhileHidden(u.progressTimer, u.loadProgressLabel);

    attachTooltips(runtime, u);
    nameComponents(runtime, u);
    installShortcuts(runtime, e.source);
    if (runtime.exists(u.tabControl))
        runtime.set(u.tabControl, runtime::prop::own(widgets::page_control::kHeaderPosition), s.tabHeaderPosition);
    tabs::maxCaptionLength = 16;
    tabs::CreateFirstTab(s.firstArgument);
    // The first web view has brought up the script engine, which may have
    // put its own fault handlers in front of ours.
    crashguard::reassertHandlers();

    g_timeout_add(
        kTrimIntervalMs,
        [](gpointer) -> gboolean {
            sysutil::trimWorkingSet();
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    return {};
}

runtime::Value onMainWindowFirstActivated(runtime::Event&) {
    tabs::layoutReady = 1;
    tabs::ArrangeCloseButtons();
    return {};
}

int runProgram(int argc, char** argv) {
    // Pango reads the font configuration on a thread of its own once its
    // font map exists. Made now, that runs beside GTK's start-up and the
    // theme, and the first edit box finds the fonts ready.
    pango_cairo_font_map_get_default();
    // The chrome places, shapes and finds windows through X11, so GDK is
    // kept on its X11 backend: on a Wayland desktop that means XWayland.
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv)) {
        const char* display = g_getenv("DISPLAY");
        std::fprintf(stderr,
            "varomel: cannot open the X display %s; Varomel needs an X11 desktop "
            "(on Wayland, XWayland)\n",
            display && *display ? display : "(DISPLAY is not set)");
        return 1;
    }
    // The component layer.
    runtime::Runtime& runtime = runtime::Runtime::instance();
    runtime::registerBuiltinKinds(runtime);
    widgets::registerWidgetKinds(runtime);

    // Program-wide state.
    program::ShellState& s = program::shell();
    s.margins = {};
    s.tabHeaderPosition = 0;
    s.borderWidth = 3;
    // Further arguments are ignored.
    s.firstArgument = argc > 1 && argv[1] ? argumentText(argv[1]) : "";

    crashguard::install();
    // The first web view is made with the window; its sandbox check runs
    // meanwhile.
    widgets::web_browser::startSandboxCheck();

    runtime::ComponentRef main = runtime.loadWindow(mainWindowDescription());
    runtime.show(main.window);
    runtime.run(main);
    return 0;
}

}  // namespace app
