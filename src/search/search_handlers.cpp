// Glue between the main window's events and the search and navigation
// logic: read the boxes, decide, and hand URLs to the tab table.
#include "search_handlers.h"

#include <optional>
#include <string>

#include "address_keys.h"
#include "hot_searches.h"
#include "listing_urls.h"
#include "placeholder.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/lenient.h"
#include "search_services.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"
#include "widgets/web_browser.h"

namespace search {
namespace {

namespace wb = widgets::web_browser;
constexpr int kContent = rt::prop::own(rt::edit_box::kContent);
constexpr int kColour = rt::prop::own(rt::edit_box::kTextColour);
using rt::lenient::intArg;

rt::Runtime& runtime() { return rt::Runtime::instance(); }

// The content of an edit box; empty when the box is not there.
std::string contentOf(rt::ComponentRef box) { return rt::lenient::text(box, kContent); }

void apply(rt::ComponentRef box, const BoxChange& change) {
    if (change.content) rt::lenient::set(box, kContent, *change.content);
    if (change.colour) rt::lenient::set(box, kColour, static_cast<int32_t>(*change.colour));
}

// The current tab's browser, when there is a current tab and its browser
// still exists.
std::optional<rt::ComponentRef> currentBrowser() {
    if (!tabs::isTab(tabs::currentTab)) return std::nullopt;
    rt::ComponentRef b = tabs::tabTable[tabs::currentTab - 1].browser();
    if (!runtime().exists(b)) return std::nullopt;
    return b;
}

void updateBackForward() {
    if (services().updateBackForwardButtons) services().updateBackForwardButtons();
}

// Refresh and stop: the browser command, then the record's loading flag and
// the buttons that show it.
void setLoading(int method, int32_t loading) {
    auto browser = currentBrowser();
    if (!browser) return;
    runtime().call(*browser, method);
    tabs::tabTable[tabs::currentTab - 1].loading = loading;
    if (services().updateLoadingButtons) services().updateLoadingButtons();
    updateBackForward();
}

void goInHistory(int method) {
    auto browser = currentBrowser();
    if (!browser) return;
    runtime().call(*browser, method);
    updateBackForward();
}

// Handlers run nested inside other handlers' message pumps (the keyword
// encoding, the new-window handler); a quit click let through there closes
// the window, and with it the tab control and the templates a tab needs.
bool windowOpen() { return !services().windowOpen || services().windowOpen(); }

void openInNewTab(const std::string& url) {
    if (windowOpen() && services().openInNewTab) services().openInNewTab(url);
}

void perform(AddressAction action, rt::ComponentRef box) {
    if (!windowOpen() || !runtime().exists(box)) return;
    switch (action) {
        case AddressAction::kNavigateCurrentTab:
            if (tabs::isTab(tabs::currentTab) && services().navigateTab)
                services().navigateTab(contentOf(box), tabs::currentTab);
            break;
        case AddressAction::kOpenInNewTab: openInNewTab(contentOf(box)); break;
        case AddressAction::kNone: break;
    }
}

}  // namespace

rt::Value onSearchBoxFocusGained(rt::Event& e) {
    apply(e.source, onFocusGained(contentOf(e.source), kSearchPlaceholder));
    return {};
}

rt::Value onSearchBoxFocusLost(rt::Event& e) {
    apply(e.source, onFocusLost(contentOf(e.source), kSearchPlaceholder));
    return {};
}

rt::Value onSearchBoxKeyDown(rt::Event& e) {
    // Enter searches whatever modifiers are held.
    if (intArg(e, 0) == rt::key::kEnter) runSearch(contentOf(e.source), services());
    return {};
}

rt::Value onSearchButtonClick(rt::Event&) {
    runSearch(contentOf(ui::mainUi().searchBox), services());
    return {};
}

rt::Value onHotSearchLabelDown(rt::Event&) {
    std::string name = runtime().nameOf(runtime().eventComponent());
    CivilDate today = services().today ? services().today() : localToday();
    if (auto url = hotSearchUrl(name, today)) openInNewTab(*url);
    return {};
}

rt::Value onNewTabButtonClick(rt::Event&) {
    openInNewTab(newServersUrl());
    return {};
}

rt::Value onAddressBoxFocusGained(rt::Event& e) {
    apply(e.source, onFocusGained(contentOf(e.source), kAddressPlaceholder));
    return {};
}

rt::Value onAddressBoxFocusLost(rt::Event& e) {
    apply(e.source, onFocusLost(contentOf(e.source), kAddressPlaceholder));
    return {};
}

rt::Value onAddressBoxKeyDown(rt::Event& e) {
    perform(addressKeyDownAction(intArg(e, 0), intArg(e, 1)), e.source);
    return {};
}

rt::Value onAddressBoxCharInput(rt::Event& e) {
    perform(addressCharAction(intArg(e, 0)), e.source);
    return {};
}

rt::Value onGoButtonClick(rt::Event&) {
    // The content goes as it stands, the grey hint included.
    rt::ComponentRef box = ui::mainUi().addressBox;
    if (runtime().exists(box)) openInNewTab(contentOf(box));
    return {};
}

rt::Value onBackButtonClick(rt::Event&) {
    goInHistory(wb::method::kGoBack);
    return {};
}

rt::Value onForwardButtonClick(rt::Event&) {
    goInHistory(wb::method::kGoForward);
    return {};
}

rt::Value onRefreshButtonClick(rt::Event&) {
    setLoading(wb::method::kRefresh, 1);
    return {};
}

rt::Value onStopButtonClick(rt::Event&) {
    setLoading(wb::method::kStop, 0);
    return {};
}

rt::Value onHomeButtonClick(rt::Event&) {
    openInNewTab(homePageUrl());
    return {};
}

}  // namespace search
