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

namespace wb = widgets::web_browser;

ui::MainUi& u() { return ui::mainUi(); }

// The tab number of the event's component, which must be of `kind`;
// nothing for any other component.
std::optional<int32_t> eventTag(const char* kind) {
    rt::Runtime& rt = cx::runtime();
    rt::ComponentRef source = rt.eventComponent();
    if (!cx::live(source) || rt.kindOf(source) != kind) return std::nullopt;
    return tagNumber(cx::text(source, rt::prop::kTag));
}

std::optional<int32_t> browserTab(rt::Event&) { return eventTag("WebBrowser"); }

using rt::lenient::arg;

void showRefreshNotStop() {
    cx::setVisible(u().refreshButton, true);
    cx::setVisible(u().stopButton, false);
}

rt::Value onNewWindow(rt::Event& e) {
    if (e.args.size() <= wb::event::kNewWindowSlotArg) return {};
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
    cx::runtime().call(tabTable[static_cast<size_t>(n - 1)].browser(), wb::method::kAcceptNewWindow,
                       {e.args[wb::event::kNewWindowSlotArg]});
    const rt::ComponentRef taker = tabTable[static_cast<size_t>(n - 1)].browser();
    cx::runtime().processPendingMessages();
    // The pump may have closed the opener's tab, the new one or the whole
    // window: the new window is then refused, not handed to a browser that
    // is gone or opened from a page that is.
    if ((!cx::live(e.source) || !cx::live(taker)) && e.args.size() > wb::event::kNewWindowCancelArg)
        e.args[wb::event::kNewWindowCancelArg] = 1;
    return {};
}

rt::Value onNavigateComplete(rt::Event& e) {
    auto n = browserTab(e);
    if (!n) return {};
    if (IsShowableUrl(*n, rt::asText(arg(e, 0)))) cx::setWindowCaption(cx::locationName(e.source));
    showRefreshNotStop();
    UpdateBackForwardButtons();
    return {};
}

rt::Value onDownloadBegin(rt::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    if (*n == currentTab) {
        cx::setVisible(u().refreshButton, false);
        cx::setVisible(u().stopButton, true);
    } else {
        tabTable[static_cast<size_t>(*n - 1)].loading = 1;
    }
    UpdateBackForwardButtons();
    return {};
}

rt::Value onProgressChange(rt::Event& e) {
    ProgressDisplay d = progressDisplay(rt::asDouble(arg(e, 0)), rt::asDouble(arg(e, 1)));
    switch (d.action) {
        case ProgressDisplay::Action::kHide: cx::setVisible(u().loadProgressLabel, false); break;
        case ProgressDisplay::Action::kKeep: break;
        case ProgressDisplay::Action::kShow:
            cx::setVisible(u().loadProgressLabel, true);
            cx::set(u().loadProgressLabel, rt::prop::own(widgets::trans_label::kText), d.text);
            break;
    }
    return {};
}

rt::Value onDownloadComplete(rt::Event& e) {
    // A finished download clears its tab's loading mark; otherwise selecting
    // that tab later would still show the stop button for a finished page.
    if (auto n = browserTab(e); n && isTab(*n)) tabTable[static_cast<size_t>(*n - 1)].loading = 0;
    showRefreshNotStop();
    UpdateBackForwardButtons();
    return {};
}

rt::Value onStatusTextChange(rt::Event& e) {
    auto n = browserTab(e);
    if (!n) return {};
    ShowStatusText(*n, rt::asText(arg(e, 0)));
    return {};
}

rt::Value onTitleChange(rt::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    std::string title = rt::asText(arg(e, 0));
    if (*n == currentTab) cx::setWindowCaption(cx::titleLabelText());
    cx::setPageCaption(*n - 1, CaptionFromTitle(title, *n - 1));
    RefreshSelection();
    ArrangeCloseButtons();
    return {};
}

rt::Value onCommandStateChange(rt::Event& e) {
    auto n = browserTab(e);
    if (!n || !isTab(*n)) return {};
    TabRecord& r = tabTable[static_cast<size_t>(*n - 1)];
    int32_t enabled = rt::asInt(arg(e, 1)) != 0 ? 1 : 0;
    switch (rt::asInt(arg(e, 0))) {
        case wb::command::kForward: r.forwardEnabled = enabled; break;
        case wb::command::kBack: r.backEnabled = enabled; break;
        default: break;
    }
    return {};
}

}  // namespace

rt::Value onTabPageChanged(rt::Event&) {
    RefreshSelection();
    ArrangeCloseButtons();
    return {};
}

rt::Value onTabHeaderRightClicked(rt::Event& e) {
    if (e.args.empty()) return {};
    CloseTabAt(rt::asInt(e.args[0]));
    return {};
}

rt::Value onCloseButtonClick(rt::Event& e) {
    auto page = eventTag("PicBtn");
    if (!page) return {};
    CloseTabAt(*page);
    // Repaint at once: the headers and buttons moved under the pointer.
    if (GtkWindow* w = cx::runtime().gtkWindow(u().window.window)) gtk_widget_queue_draw(GTK_WIDGET(w));
    return {};
}

rt::Value onCloseCurrentTabClick(rt::Event&) {
    CloseTab(cx::currentPage());
    return {};
}

rt::Value onProgressTimerTick(rt::Event&) {
    rt::ComponentRef label = u().loadProgressLabel;
    if (!cx::live(label)) return {};
    std::string t = cx::text(label, rt::prop::own(widgets::trans_label::kText));
    if (progressTimerHides(t, cx::visible(label)))
        cx::setVisible(label, false);
    else
        cx::redraw(label);
    return {};
}

rt::Value onFadeTimerTick(rt::Event&) {
    OnFadeTick();
    return {};
}

rt::Value onStatusWindowCreated(rt::Event& e) {
    OnStatusWindowCreated(e.source);
    return {};
}

rt::Bindings browserEventBindings() {
    return {{wb::event::kNewWindow, onNewWindow},
            {wb::event::kNavigateComplete, onNavigateComplete},
            {wb::event::kDownloadBegin, onDownloadBegin},
            {wb::event::kProgressChange, onProgressChange},
            {wb::event::kDownloadComplete, onDownloadComplete},
            {wb::event::kStatusTextChange, onStatusTextChange},
            {wb::event::kTitleChange, onTitleChange},
            {wb::event::kCommandStateChange, onCommandStateChange}};
}

}  // namespace tabs
