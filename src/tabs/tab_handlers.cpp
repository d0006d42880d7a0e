// Event handlers of the tabbed browsing. Every tab's browser is a copy of the
// template browser and so raises its events into these handlers; a handler
// finds its tab from the tag of the component that raised the event.
#include "tab_handlers.h"

#include <gtk/gtk.h>

#include "main_ui.h"
#include "status_window.h"
#include "tab_components.h"
#include "tab_rules.h"
#include "tab_table.h"
#include "widgets/pic_btn_props.h"
#include "widgets/trans_label_props.h"
#include "widgets/web_browser.h"

namespace tabs {

namespace {

tabs::MainUi& u() { return tabs::mainUi(); }

// The tab number of the event's component, which must be of `kind`;
// nothing for any other component.
std::optional<int32_t> eventTag(const char* kind) {
    runtime::Runtime& rt = components::runtime();
    runtime::ComponentRef source = rt.eventComponent();
    if (!runtime::lenient::live(source) || rt.kindOf(source) != kind) return std::nullopt;
    return tagNumber(runtime::lenient::text(source, runtime::prop::kTag));
}

std::optional<int32_t> browserTab(runtime::Event&) { return eventTag("WebBrowser"); }

using runtime::lenient::arg;

void showRefreshNotStop() {
    runtime::lenient::setVisible(u().refreshButton, true);
    runtime::lenient::setVisible(u().stopButton, false);
}

runtime::Value OnNewWindow(runtime::Event& e) {
    if (e.args.size() <= widgets::web_browser::event::kNewWindowSlotArg) return {};
    // Refused without a slot taken: the page's window.open gets nothing.
    if (!roomForAnotherTab(tabCount())) return {};
    // As in OpenInNewTab, the page changes raised while the tab is built
    // must not caption it from its still empty browser (a blank caption and
    // window caption until the title arrived).
    busy = 1;
    int32_t n = CreateTab();
    if (n > 0) {
        SelectTab(n);
        LayOutTabBrowser(n);
    }
    busy = 0;
    if (n == 0) return {};
    // The engine opens the requested page in the browser that takes the slot.
    components::runtime().call(tabTable[static_cast<size_t>(n - 1)].browser(),
        widgets::web_browser::method::kAcceptNewWindow, {e.args[widgets::web_browser::event::kNewWindowSlotArg]});
    const runtime::ComponentRef taker = tabTable[static_cast<size_t>(n - 1)].browser();
    components::runtime().processPendingMessages();
    // The pump may have closed the opener's tab, the new one or the whole
    // window: the new window is then refused, not handed to a browser that
    // is gone or opened from a page that is.
    if ((!runtime::lenient::live(e.source) || !runtime::lenient::live(taker)) &&
        e.args.size() > widgets::web_browser::event::kNewWindowCancelArg)
        e.args[widgets::web_browser::event::kNewWindowCancelArg] = 1;
    return {};
}

runtime::Value OnNavigateComplete(runtime::Event& e) {
    auto n = browserTab(e);
    if (!n) return {};
    if (IsShowableUrl(*n, runtime::asText(arg(e, 0)))) components::setWindowCaption(components::locationName(e.source));
    showRefreshNotStop();
    UpdateBackForwardButtons();
    return {};
}

runtime::Value OnDownloadBegin(runtime::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    if (*n == currentTab) {
        runtime::lenient::setVisible(u().refreshButton, false);
        runtime::lenient::setVisible(u().stopButton, true);
    } else {
        tabTable[static_cast<size_t>(*n - 1)].loading = 1;
    }
    UpdateBackForwardButtons();
    return {};
}

runtime::Value OnProgressChange(runtime::Event& e) {
    ProgressDisplay d = progressDisplay(runtime::asDouble(arg(e, 0)), runtime::asDouble(arg(e, 1)));
    switch (d.action) {
        case ProgressDisplay::Action::kHide: runtime::lenient::setVisible(u().loadProgressLabel, false); break;
        case ProgressDisplay::Action::kKeep: break;
        case ProgressDisplay::Action::kShow:
            runtime::lenient::setVisible(u().loadProgressLabel, true);
            runtime::lenient::set(u().loadProgressLabel, runtime::prop::own(widgets::trans_label::kText), d.text);
            break;
    }
    return {};
}

runtime::Value OnDownloadComplete(runtime::Event& e) {
    // A finished download clears its tab's loading mark; otherwise selecting
    // that tab later would still show the stop button for a finished page.
    if (auto n = browserTab(e); n && isTab(*n)) tabTable[static_cast<size_t>(*n - 1)].loading = 0;
    showRefreshNotStop();
    UpdateBackForwardButtons();
    return {};
}

runtime::Value OnStatusTextChange(runtime::Event& e) {
    auto n = browserTab(e);
    if (!n) return {};
    showStatusText(*n, runtime::asText(arg(e, 0)));
    return {};
}

runtime::Value OnTitleChange(runtime::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    std::string title = runtime::asText(arg(e, 0));
    if (*n == currentTab) components::setWindowCaption(components::titleLabelText());
    components::setPageCaption(*n - 1, CaptionFromTitle(title, *n - 1));
    RefreshSelection();
    ArrangeCloseButtons();
    return {};
}

runtime::Value OnCommandStateChange(runtime::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    TabRecord& r = tabTable[static_cast<size_t>(*n - 1)];
    int32_t enabled = runtime::asInt(arg(e, 1)) != 0 ? 1 : 0;
    switch (runtime::asInt(arg(e, 0))) {
        case widgets::web_browser::command::kForward: r.forwardEnabled = enabled; break;
        case widgets::web_browser::command::kBack: r.backEnabled = enabled; break;
        default: break;
    }
    return {};
}

}  // namespace

runtime::Value onTabPageChanged(runtime::Event&) {
    RefreshSelection();
    ArrangeCloseButtons();
    return {};
}

runtime::Value onTabHeaderRightClicked(runtime::Event& e) {
    if (e.args.empty()) return {};
    CloseTabAt(runtime::asInt(e.args[0]));
    return {};
}

runtime::Value OnCloseButtonClick(runtime::Event& e) {
    auto page = eventTag("PicBtn");
    if (!page) return {};
    CloseTabAt(*page);
    // Repaint at once: the headers and buttons moved under the pointer.
    if (GtkWindow* w = components::runtime().gtkWindow(u().window.window)) gtk_widget_queue_draw(GTK_WIDGET(w));
    return {};
}

runtime::Value onCloseCurrentTabClick(runtime::Event&) {
    CloseTab(components::currentPage());
    return {};
}

runtime::Value OnProgressTimer(runtime::Event&) {
    runtime::ComponentRef label = u().loadProgressLabel;
    if (!runtime::lenient::live(label)) return {};
    std::string t = runtime::lenient::text(label, runtime::prop::own(widgets::trans_label::kText));
    if (progressTimerHides(t, runtime::lenient::visible(label))) runtime::lenient::setVisible(label, false);
    else components::redraw(label);
    return {};
}

runtime::Value onFadeTimerTick(runtime::Event&) {
    OnFadeTick();
    return {};
}

runtime::Value onStatusWindowCreated(runtime::Event& e) {
    OnStatusWindowCreated(e.source);
    return {};
}

runtime::Bindings browserEventBindings() {
    return {{widgets::web_browser::event::kNewWindow, OnNewWindow},
        {widgets::web_browser::event::kNavigateComplete, OnNavigateComplete},
        {widgets::web_browser::event::kDownloadBegin, OnDownloadBegin},
        {widgets::web_browser::event::kProgressChange, OnProgressChange},
        {widgets::web_browser::event::kDownloadComplete, OnDownloadComplete},
        {widgets::web_browser::event::kStatusTextChange, OnStatusTextChange},
        {widgets::web_browser::event::kTitleChange, OnTitleChange},
        {widgets::web_browser::event::kCommandStateChange, OnCommandStateChange}};
}

}  // namespace tabs
