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

ui::MainUi& u() { return ui::mainUi(); }

bool statusWindowLoaded() {
    rt::ComponentRef w = u().statusWindow;
    return !w.isNull() && cx::runtime().gtkWindow(w.window) != nullptr;
}

// The fade timer's interval is the truth about a running fade: the timer
// property is what the rest of the program could see and change.
bool fadeRunning() { return cx::number(u().fadeTimer, rt::prop::own(rt::timer::kInterval)) != 0; }

void setFadeTimer(int intervalMs) { cx::set(u().fadeTimer, rt::prop::own(rt::timer::kInterval), intervalMs); }

void applyOpacity(rt::ComponentRef window, int32_t a) {
    if (GtkWindow* w = cx::runtime().gtkWindow(window.window)) gtk_widget_set_opacity(GTK_WIDGET(w), opacityFraction(a));
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
    cx::set(u().statusWindow, rt::prop::kVisible, true);
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
        case StatusFade::Tick::kHideAndStop: cx::set(u().statusWindow, rt::prop::kVisible, false); break;
        case StatusFade::Tick::kStopped: break;
    }
    setFadeTimer(0);
    // The fade kept its steps; now the window catches up with the latest
    // text of the current tab that came meanwhile.
    if (auto held = statusFade().takeHeldText(); held && held->tab == currentTab) ShowStatusText(held->tab, held->text);
}

void ShowStatusText(int32_t n, const std::string& text) {
    bool loaded = statusWindowLoaded();
    bool shown = loaded && rt::asBool(cx::runtime().get(u().statusWindow, rt::prop::kVisible));
    const bool fading = loaded && fadeRunning();
    if (fading && n == currentTab) statusFade().holdText(n, text);
    switch (statusTextAction(loaded, fading, n == currentTab, text, shown)) {
        case StatusTextAction::kIgnore:
        case StatusTextAction::kNothing: return;
        case StatusTextAction::kFadeOut: StartFadeOut(); return;
        case StatusTextAction::kRefreshSelection: break;
        case StatusTextAction::kShowText:
            cx::set(u().statusTextLabel, rt::prop::own(rt::label::kCaption), text);
            if (!shown) StartFadeIn();
            break;
    }
    RefreshSelection();
    ArrangeCloseButtons();
}

void OnStatusWindowCreated(rt::ComponentRef window) {
    rt::Runtime& rt = cx::runtime();
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
    rt::ComponentRef label = rt.find(window.window, ui::name::kStatusTextLabel).value_or(rt::ComponentRef{});
    if (cx::live(label)) rt.set(window, rt::prop::kHeight, cx::number(label, rt::prop::kHeight));
    statusFade().setOpacity(kMaxStatusAlpha);
    applyOpacity(window, kMaxStatusAlpha);
    if (cx::live(label)) rt.set(window, rt::prop::kWidth, cx::number(label, rt::prop::kWidth));
}

void PlaceStatusWindow() {
    if (!statusWindowLoaded() || !cx::live(u().tabControl)) return;
    rt::Runtime& rt = cx::runtime();
    const ui::ShellState& s = ui::shell();
    rt::ComponentRef main = u().window;
    StatusPlacementInput in;
    in.headerPosition = cx::headerPosition();
    in.mainWindow = cx::area(main);
    in.clientWidth = in.mainWindow.width;  // the main window has no frame
    in.statusHeight = cx::number(u().statusWindow, rt::prop::kHeight);
    in.tabControlHeight = cx::number(u().tabControl, rt::prop::kHeight);
    in.pageAreaHeight = cx::pageAreaHeight();
    in.marginLeft = s.margins.left;
    in.marginRight = s.margins.right;
    in.marginBottom = s.margins.bottom;
    auto a = statusWindowPlacement(in);
    if (!a) return;
    rt.set(u().statusWindow, rt::prop::kLeft, a->left);
    rt.set(u().statusWindow, rt::prop::kTop, a->top);
    rt.set(u().statusWindow, rt::prop::kWidth, a->width);
    cx::set(u().statusTextLabel, rt::prop::kWidth, a->width);
}

}  // namespace tabs
