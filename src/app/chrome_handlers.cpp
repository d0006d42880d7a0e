// The frameless main window's chrome: maximise and restore, the layout that
// follows every size change, the painted border, the rounded shape and the
// resize grip.
#include "chrome_handlers.h"

#include "chrome_layout.h"
#include "chrome_platform.h"
#include "program/program_state.h"
#include "resize_zones.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/lenient.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"
#include "widgets/page_control.h"
#include "work_area.h"

namespace app {

namespace {

using runtime::ComponentRef;
using runtime::lenient::number;
using runtime::lenient::set;

// The size-changed handler changes the size itself (the minimum) and lets
// queued messages run; size changes arriving meanwhile are dropped.
bool inSizeChanged = false;
// The zone under the mouse at the last move; the cursor shows it.
int resizeZone = kZoneNone;
// The work area the window was last maximised to, to tell whether it was
// maximised when the work area changes under it.
runtime::Rect knownWorkArea{};
// Whether the window stands maximised, is being placed by the program or
// is on its way back from maximised. Window managers fit a window into the
// work area as they map it, which moves the border that hangs over its
// edges back on screen, so a window that stands maximised is placed again
// after a map. Placing lets queued messages run, and the reports that
// arrive meanwhile are the program's own steps: the put-back leaves them
// alone, which also keeps a window manager that keeps adjusting the
// position from bringing the put-back into itself without end.
PlacingState placement;

// Marks the program's own placing however it is left; nested placing (a
// put-back inside a restore) keeps the mark until the outer one ends.
struct PlacingScope {
    bool outer = !placement.placing;
    PlacingScope() { placement.placing = true; }
    ~PlacingScope() {
        if (outer) placement.placing = false;
    }
};

runtime::Runtime& runtime() { return runtime::Runtime::instance(); }
const tabs::MainUi& u() { return tabs::mainUi(); }

// A component the window loader had to leave out (its block was refused)
// reads as zero and takes no writes, so one bad picture costs its component
// and not the whole layout.

void putPlace(ComponentRef ref, const Place& p) {
    set(ref, runtime::prop::kLeft, p.left);
    set(ref, runtime::prop::kTop, p.top);
}

void putSpan(ComponentRef ref, const Span& s) {
    putPlace(ref, {s.left, s.top});
    set(ref, runtime::prop::kWidth, s.width);
}

void putBox(ComponentRef ref, const Box& b) {
    putSpan(ref, {b.left, b.top, b.width});
    set(ref, runtime::prop::kHeight, b.height);
}

runtime::Rect rectOf(ComponentRef ref) {
    return {number(ref, runtime::prop::kLeft), number(ref, runtime::prop::kTop), number(ref, runtime::prop::kWidth),
        number(ref, runtime::prop::kHeight)};
}

Place placeOf(ComponentRef ref) { return {number(ref, runtime::prop::kLeft), number(ref, runtime::prop::kTop)}; }

GtkWindow* mainGtkWindow() { return runtime().gtkWindow(u().window.window); }

void layOutComponents() {
    const tabs::MainUi& c = u();
    const program::Margins& m = program::shell().margins;
    LayoutInput in;
    in.width = number(c.window, runtime::prop::kWidth);
    in.height = number(c.window, runtime::prop::kHeight);
    in.marginLeft = m.left;
    in.marginTop = m.top;
    in.marginRight = m.right;
    in.marginBottom = m.bottom;
    in.titleHeight = number(c.titleLabel, runtime::prop::kHeight);
    in.toolbarHeight = number(c.toolbarBackground, runtime::prop::kHeight);
    in.back = placeOf(c.backButton);
    in.forward = placeOf(c.forwardButton);
    in.refresh = placeOf(c.refreshButton);
    in.refreshWidth = number(c.refreshButton, runtime::prop::kWidth);
    in.leftCapWidth = number(c.addressBackgroundLeft, runtime::prop::kWidth);
    in.rightCapWidth = number(c.addressBackgroundRight, runtime::prop::kWidth);
    in.goWidth = number(c.goButton, runtime::prop::kWidth);
    in.addressTop = number(c.addressBox, runtime::prop::kTop);
    in.progressWidth = number(c.loadProgressLabel, runtime::prop::kWidth);
    const Layout out = layOut(in);

    putBox(c.borderPanel, out.borderPanel);
    putSpan(c.titleLabel, out.title);
    putSpan(c.toolbarBackground, out.toolbar);
    set(c.tabControl, runtime::prop::own(widgets::page_control::kHeaderPosition), program::shell().tabHeaderPosition);
    putBox(c.tabControl, out.tabControl);
    putPlace(c.backDisabledButton, out.backDisabled);
    putPlace(c.forwardDisabledButton, out.forwardDisabled);
    putPlace(c.stopButton, out.stop);
    set(c.addressBackgroundLeft, runtime::prop::kTop, out.leftCap.top);
    set(c.addressBackgroundMiddle, runtime::prop::kTop, out.middle.top);
    set(c.addressBackgroundRight, runtime::prop::kTop, out.rightCap.top);
    set(c.addressBackgroundLeft, runtime::prop::kLeft, out.leftCap.left);
    set(c.addressBackgroundMiddle, runtime::prop::kLeft, out.middle.left);
    set(c.addressBackgroundMiddle, runtime::prop::kWidth, out.middle.width);
    set(c.addressBackgroundRight, runtime::prop::kLeft, out.rightCap.left);
    set(c.addressBox, runtime::prop::kLeft, out.addressLeft);
    set(c.addressBox, runtime::prop::kWidth, out.addressWidth);
    set(c.goButton, runtime::prop::kLeft, out.goLeft);
    putPlace(c.loadProgressLabel, out.progress);

    ArrangeTitleBarButtons();
    tabs::LayOutTabBrowser(tabs::currentTab);
    tabs::PlaceStatusWindow();
}

void paintBorder() {
    const ComponentRef panel = u().borderPanel;
    if (!runtime().exists(panel)) return;
    // The panel keeps what was drawn at the last size; clearing first keeps
    // the frames of an earlier, larger size from showing through.
    runtime().call(panel, runtime::draw_panel::kClear);
    for (const BorderLine& l :
        borderLines(number(panel, runtime::prop::kWidth), number(panel, runtime::prop::kHeight))) {
        runtime().set(panel, runtime::prop::own(runtime::draw_panel::kPenColour), static_cast<int32_t>(l.colour));
        runtime().call(panel, runtime::draw_panel::kDrawLine, {l.x1, l.y1, l.x2, l.y2});
    }
}

// Clears the re-entrancy flag however the handler is left.
struct SizeChangeScope {
    SizeChangeScope() { inSizeChanged = true; }
    ~SizeChangeScope() { inSizeChanged = false; }
};

enum PlaceOrder { kPlaceFirst, kSizeFirst };

void setWindowRect(const runtime::Rect& r, PlaceOrder order) {
    const ComponentRef w = u().window;
    if (order == kPlaceFirst) {
        set(w, runtime::prop::kLeft, r.left);
        set(w, runtime::prop::kTop, r.top);
    }
    set(w, runtime::prop::kWidth, r.width);
    set(w, runtime::prop::kHeight, r.height);
    if (order == kSizeFirst) {
        set(w, runtime::prop::kLeft, r.left);
        set(w, runtime::prop::kTop, r.top);
    }
}

// Sets the window's rectangle one property at a time, as the original
// platform did. On X each step is only a request, and the size-changed
// handler lets queued messages run between the steps: the server's reports
// of the in-between steps can then arrive after later steps were asked for,
// and the runtime takes them for the window's rectangle again. Once the
// server has answered everything, whatever a late report undid is asked for
// once more.
void placeWindow(const runtime::Rect& target, PlaceOrder order) {
    PlacingScope scope;
    setWindowRect(target, order);
    GtkWindow* gw = mainGtkWindow();
    if (!gw) return;
    for (int round = 0; round < 3; ++round) {
        gdk_display_sync(gtk_widget_get_display(GTK_WIDGET(gw)));
        runtime().processPendingMessages();
        if (!runtime().exists(u().window) || rectOf(u().window) == target) return;
        setWindowRect(target, order);
    }
}

void maximiseTo(const runtime::Rect& area) {
    placeWindow(area, kPlaceFirst);
    knownWorkArea = area;
    placement.standsMaximised = true;
    placement.restoring = false;
    program::shell().maximisedWidth = number(u().window, runtime::prop::kWidth);
    program::shell().maximisedHeight = number(u().window, runtime::prop::kHeight);
}

// A maximised window follows its work area when a panel comes, goes or
// moves, or the monitors change; a normal one stays where the user put it.
void followWorkArea() {
    if (!runtime().exists(u().window)) return;
    const runtime::Rect now = workArea();
    if (now == knownWorkArea) return;
    const bool wasMaximised = rectOf(u().window) == knownWorkArea;
    knownWorkArea = now;
    if (wasMaximised) maximiseTo(now);
    else ArrangeTitleBarButtons();
}

// After the window manager has mapped the window (at start-up, or when it
// comes back from the taskbar), a window it moved off the work area goes
// back there.
void afterMap() {
    if (!runtime().exists(u().window) || !placement.standsMaximised) return;
    const runtime::Rect area = workArea();
    if (rectOf(u().window) != area) maximiseTo(area);
}

void attachTitleDrag() {
    // A maximised window stays where it is; only a normal one follows the
    // drag.
    attachCaptionDrag(runtime().hostWidget(u().titleLabel), mainGtkWindow(), [] { return !isMaximised(); });
    watchWorkArea(mainGtkWindow(), followWorkArea, afterMap);
}

}  // namespace

runtime::Rect workArea() { return monitorWorkArea(mainGtkWindow(), program::shell().borderWidth); }

bool isMaximised() { return isMaximisedRect(rectOf(u().window), workArea()); }

void toggleMaximised() {
    const ComponentRef w = u().window;
    program::ShellState& s = program::shell();
    attachTitleDrag();
    if (isMaximised()) {
        // Asking a window that is already normal to be normal still raises
        // it on X, and the server then reports its old size while the new
        // one is on its way; only a minimised window needs the request.
        if (number(w, runtime::window_prop::kState) != runtime::window_prop::kStateNormal)
            set(w, runtime::window_prop::kState, runtime::window_prop::kStateNormal);
        placement.standsMaximised = false;
        placement.restoring = true;
        placeWindow(s.savedNormalRect, kSizeFirst);
        return;
    }
    s.savedNormalRect = rectOf(w);
    maximiseTo(workArea());
}

void ArrangeTitleBarButtons() {
    const tabs::MainUi& c = u();
    TitleBarInput in;
    in.width = number(c.window, runtime::prop::kWidth);
    in.marginRight = program::shell().margins.right;
    in.tabCount = tabs::tabCount();
    in.closeTabWidth = number(c.closeCurrentTabButton, runtime::prop::kWidth);
    in.quitWidth = number(c.quitButton, runtime::prop::kWidth);
    in.maximiseWidth = number(c.maximiseButton, runtime::prop::kWidth);
    in.minimiseWidth = number(c.minimiseButton, runtime::prop::kWidth);
    in.maximiseTop = number(c.maximiseButton, runtime::prop::kTop);
    in.maximised = isMaximised();
    const TitleBar out = placeTitleBar(in);

    if (out.closeTabVisible) {
        set(c.closeCurrentTabButton, runtime::prop::kVisible, true);
        set(c.closeCurrentTabButton, runtime::prop::kLeft, out.closeTabLeft);
    } else {
        set(c.closeCurrentTabButton, runtime::prop::kVisible, false);
    }
    set(c.quitButton, runtime::prop::kLeft, out.quitLeft);
    set(c.maximiseButton, runtime::prop::kLeft, out.maximiseLeft);
    putPlace(c.restoreButton, out.restore);
    set(c.minimiseButton, runtime::prop::kLeft, out.minimiseLeft);
    set(c.restoreButton, runtime::prop::kVisible, out.restoreVisible);
    set(c.maximiseButton, runtime::prop::kVisible, out.maximiseVisible);
}

runtime::Value onMainSizeChanged(runtime::Event&) {
    const ComponentRef w = u().window;
    noteReported(placement, rectOf(w), program::shell().maximisedWidth, program::shell().maximisedHeight);
    if (inSizeChanged) return {};
    // A size change that arrives while queued messages run is dropped by
    // the flag; if the window then has another size than the one just laid
    // out, the layout runs again, so it never stays on a stale size.
    for (int round = 0; round < 3; ++round) {
        SizeChangeScope scope;
        attachTitleDrag();
        // Smaller sizes are reported first and then set back.
        if (number(w, runtime::prop::kWidth) < kMinimumWidth) set(w, runtime::prop::kWidth, kMinimumWidth);
        if (number(w, runtime::prop::kHeight) < kMinimumHeight) set(w, runtime::prop::kHeight, kMinimumHeight);
        const int width = number(w, runtime::prop::kWidth), height = number(w, runtime::prop::kHeight);
        layOutComponents();
        paintBorder();
        applyRoundedShape(mainGtkWindow(), width, height);
        runtime().processPendingMessages();
        // A quit let through by the pump leaves nothing to lay out.
        if (!runtime().exists(w)) return {};
        if (number(w, runtime::prop::kWidth) == width && number(w, runtime::prop::kHeight) == height) break;
    }
    tabs::ArrangeCloseButtons();
    return {};
}

runtime::Value onMainPositionChanged(runtime::Event&) {
    const ComponentRef w = u().window;
    program::ShellState& s = program::shell();
    // A window of exactly the maximised size that is not on the work area
    // is a maximised window that was moved: put it back.
    noteReported(placement, rectOf(w), s.maximisedWidth, s.maximisedHeight);
    if (needsPutBack(rectOf(w), workArea(), s.maximisedWidth, s.maximisedHeight, placement)) maximiseTo(workArea());
    tabs::PlaceStatusWindow();
    return {};
}

runtime::Value onRestoreClick(runtime::Event&) {
    toggleMaximised();
    return {};
}

runtime::Value onMaximiseClick(runtime::Event&) {
    toggleMaximised();
    return {};
}

runtime::Value onTitleDoubleClick(runtime::Event&) {
    toggleMaximised();
    return {};
}

runtime::Value onMinimiseClick(runtime::Event&) {
    set(u().window, runtime::window_prop::kState, runtime::window_prop::kStateMinimised);
    return {};
}

runtime::Value onQuitClick(runtime::Event&) {
    // The message loop ends with the main window and the program with it.
    runtime().destroyWindow(u().window.window);
    return {};
}

runtime::Value onBorderMouseMove(runtime::Event& e) {
    if (e.args.size() < 2) return {};
    const ComponentRef w = u().window;
    resizeZone = resizeZoneAt(runtime::asInt(e.args[0]), runtime::asInt(e.args[1]), number(w, runtime::prop::kWidth),
        number(w, runtime::prop::kHeight));
    set(u().borderPanel, runtime::prop::kCursor, zoneCursor(resizeZone));
    return {};
}

runtime::Value onBorderLeftDown(runtime::Event& e) {
    // On X a press can come without a move before it (a quick move onto an
    // edge, then a press): the zone is taken from the press itself, not
    // kept from the last move.
    if (e.args.size() >= 2) {
        const ComponentRef w = u().window;
        resizeZone = resizeZoneAt(runtime::asInt(e.args[0]), runtime::asInt(e.args[1]),
            number(w, runtime::prop::kWidth), number(w, runtime::prop::kHeight));
    }
    set(u().borderPanel, runtime::prop::kCursor, zoneCursor(resizeZone));
    if (zoneStartsResize(resizeZone)) beginZoneResize(mainGtkWindow(), resizeZone);
    return {};
}

}  // namespace app
