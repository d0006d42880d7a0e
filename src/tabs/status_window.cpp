// The status window: a small borderless window along the bottom of the
// browser area that fades in with the current tab's status text and fades
// out when the page is done.
#include "status_window.h"

#include <gtk/gtk.h>

#include "main_ui.h"
#include "program/program_state.h"
#include "runtime/kinds/builtin_kinds.h"
#include "tab_components.h"
#include "tab_table.h"

namespace tabs {

namespace {

constexpr int kFadeIntervalMs = 1;
constexpr int32_t kMaxStatusAlpha = 200;

tabs::MainUi& u() { return tabs::mainUi(); }

bool statusWindowLoaded() {
    runtime::ComponentRef w = u().statusWindow;
    return !w.isNull() && components::runtime().gtkWindow(w.window) != nullptr;
}

// The fade timer's interval is the truth about a running fade: the timer
// property is what the rest of the program could see and change.
bool fadeRunning() {
    return runtime::lenient::number(u().fadeTimer, runtime::prop::own(runtime::timer::kInterval)) != 0;
}

void setFadeTimer(int intervalMs) {
    runtime::lenient::set(u().fadeTimer, runtime::prop::own(runtime::timer::kInterval), intervalMs);
}

void applyOpacity(runtime::ComponentRef window, int32_t a) {
    if (GtkWindow* w = components::runtime().gtkWindow(window.window))
        gtk_widget_set_opacity(GTK_WIDGET(w), opacityFraction(a));
}

}  // namespace

StatusFade& statusFade() {
    static StatusFade f;
    return f;
}

void SetStatusAlpha(int32_t a) {
    statusFade().setOpacity(a);
    applyOpacity(u().statusWindow, a);
}

void StartFadeIn() {
    statusFade().startIn();
    runtime::lenient::set(u().statusWindow, runtime::prop::kVisible, true);
    setFadeTimer(kFadeIntervalMs);
    SetStatusAlpha(0);
}

void StartFadeOut() {
    statusFade().startOut();
    setFadeTimer(kFadeIntervalMs);
}

void OnFadeTick() {
    switch (statusFade().tick()) {
        case StatusFade::Tick::kOpacityChanged: SetStatusAlpha(statusFade().opacity()); return;
        case StatusFade::Tick::kHideAndStop:
            runtime::lenient::set(u().statusWindow, runtime::prop::kVisible, false);
            break;
        case StatusFade::Tick::kStopped: break;
    }
    setFadeTimer(0);
    // The fade kept its steps; now the window catches up with the latest
    // text of the current tab that came meanwhile.
    if (auto held = statusFade().takeHeldText(); held && held->tab == currentTab) showStatusText(held->tab, held->text);
}

void showStatusText(int32_t n, const std::string& text) {
    bool loaded = statusWindowLoaded();
    bool shown = loaded && runtime::asBool(components::runtime().get(u().statusWindow, runtime::prop::kVisible));
    const bool fading = loaded && fadeRunning();
    if (fading && n == currentTab) statusFade().holdText(n, text);
    switch (statusTextAction(loaded, fading, n == currentTab, text, shown)) {
        case StatusTextAction::kIgnore:
        case StatusTextAction::kNothing: return;
        case StatusTextAction::kFadeOut: StartFadeOut(); return;
        case StatusTextAction::kRefreshSelection: break;
        case StatusTextAction::kShowText:
            runtime::lenient::set(u().statusTextLabel, runtime::prop::own(runtime::label::kCaption), text);
            if (!shown) StartFadeIn();
            break;
    }
    RefreshSelection();
    ArrangeCloseButtons();
}

void OnStatusWindowCreated(runtime::ComponentRef window) {
    runtime::Runtime& rt = components::runtime();
    statusFade().setMaxOpacity(kMaxStatusAlpha);
    // The window belongs to the main window like a child: no taskbar entry,
    // never the focus, kept above its owner.
    if (GtkWindow* w = rt.gtkWindow(window.window)) {
        gtk_window_set_skip_taskbar_hint(w, TRUE);
        gtk_window_set_skip_pager_hint(w, TRUE);
        gtk_window_set_accept_focus(w, FALSE);
        gtk_window_set_focus_on_map(w, FALSE);
        gtk_window_set_type_hint(w, GDK_WINDOW_TYPE_HINT_UTILITY);
    }
    runtime::ComponentRef label =
        rt.find(window.window, tabs::name::kStatusTextLabel).value_or(runtime::ComponentRef{});
    if (runtime::lenient::live(label))
        rt.set(window, runtime::prop::kHeight, runtime::lenient::number(label, runtime::prop::kHeight));
    statusFade().setOpacity(kMaxStatusAlpha);
    applyOpacity(window, kMaxStatusAlpha);
    if (runtime::lenient::live(label))
        rt.set(window, runtime::prop::kWidth, runtime::lenient::number(label, runtime::prop::kWidth));
}

void PlaceStatusWindow() {
    if (!statusWindowLoaded() || !runtime::lenient::live(u().tabControl)) return;
    runtime::Runtime& rt = components::runtime();
    const program::ShellState& s = program::shell();
    runtime::ComponentRef main = u().window;
    StatusPlacementInput in;
    in.headerPosition = components::headerPosition();
    in.mainWindow = components::area(main);
    in.clientWidth = in.mainWindow.width;  // the main window has no frame
    in.statusHeight = runtime::lenient::number(u().statusWindow, runtime::prop::kHeight);
    in.tabControlHeight = runtime::lenient::number(u().tabControl, runtime::prop::kHeight);
    in.pageAreaHeight = components::pageAreaHeight();
    in.marginLeft = s.margins.left;
    in.marginRight = s.margins.right;
    in.marginBottom = s.margins.bottom;
    auto a = statusWindowPlacement(in);
    if (!a) return;
    rt.set(u().statusWindow, runtime::prop::kLeft, a->left);
    rt.set(u().statusWindow, runtime::prop::kTop, a->top);
    rt.set(u().statusWindow, runtime::prop::kWidth, a->width);
    runtime::lenient::set(u().statusTextLabel, runtime::prop::kWidth, a->width);
}

}  // namespace tabs
