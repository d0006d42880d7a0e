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

constexpr int kContent = runtime::prop::own(runtime::edit_box::kContent);
constexpr int kColour = runtime::prop::own(runtime::edit_box::kTextColour);
using runtime::lenient::intArg;

runtime::Runtime& runtime() { return runtime::Runtime::instance(); }

// The content of an edit box; empty when the box is not there.
std::string contentOf(runtime::ComponentRef box) { return runtime::lenient::text(box, kContent); }

void apply(runtime::ComponentRef box, const BoxChange& change) {
    if (change.content) runtime::lenient::set(box, kContent, *change.content);
    if (change.colour) runtime::lenient::set(box, kColour, static_cast<int32_t>(*change.colour));
}

// The current tab's browser, when there is a current tab and its browser
// still exists.
std::optional<runtime::ComponentRef> currentBrowser() {
    if (!tabs::isTab(tabs::currentTab)) return std::nullopt;
    runtime::ComponentRef b = tabs::tabTable[tabs::currentTab - 1].browser();
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

void perform(AddressAction action, runtime::ComponentRef box) {
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

runtime::Value onSearchBoxFocusGained(runtime::Event& e) {
    apply(e.source, onFocusGained(contentOf(e.source), kSearchPlaceholder));
    return {};
}

runtime::Value onSearchBoxFocusLost(runtime::Event& e) {
    apply(e.source, onFocusLost(contentOf(e.source), kSearchPlaceholder));
    return {};
}

runtime::Value onSearchBoxKeyDown(runtime::Event& e) {
    // Enter searches whatever modifiers are held.
    if (intArg(e, 0) == runtime::key::kEnter) runSearch(contentOf(e.source), services());
    return {};
}

runtime::Value onSearchButtonClick(runtime::Event&) {
    runSearch(contentOf(tabs::mainUi().searchBox), services());
    return {};
}

runtime::Value onHotSearchLabelDown(runtime::Event&) {
    std::string name = runtime().nameOf(runtime().eventComponent());
    CivilDate today = services().today ? services().today() : localToday();
    if (auto url = hotSearchUrl(name, today)) openInNewTab(*url);
    return {};
}

runtime::Value onNewTabButtonClick(runtime::Event&) {
    openInNewTab(newServersUrl());
    return {};
}

runtime::Value onAddressBoxFocusGained(runtime::Event& e) {
    apply(e.source, onFocusGained(contentOf(e.source), kAddressPlaceholder));
    return {};
}

runtime::Value onAddressBoxFocusLost(runtime::Event& e) {
    apply(e.source, onFocusLost(contentOf(e.source), kAddressPlaceholder));
    return {};
}

runtime::Value onAddressBoxKeyDown(runtime::Event& e) {
    perform(addressKeyDownAction(intArg(e, 0), intArg(e, 1)), e.source);
    return {};
}

runtime::Value onAddressBoxCharInput(runtime::Event& e) {
    perform(addressCharAction(intArg(e, 0)), e.source);
    return {};
}

runtime::Value onGoButtonClick(runtime::Event&) {
    // The content goes as it stands, the grey hint included.
    runtime::ComponentRef box = tabs::mainUi().addressBox;
    if (runtime().exists(box)) openInNewTab(contentOf(box));
    return {};
}

runtime::Value onBackButtonClick(runtime::Event&) {
    goInHistory(widgets::web_browser::method::kGoBack);
    return {};
}

runtime::Value onForwardButtonClick(runtime::Event&) {
    goInHistory(widgets::web_browser::method::kGoForward);
    return {};
}

runtime::Value onRefreshButtonClick(runtime::Event&) {
    setLoading(widgets::web_browser::method::kRefresh, 1);
    return {};
}

runtime::Value onStopButtonClick(runtime::Event&) {
    setLoading(widgets::web_browser::method::kStop, 0);
    return {};
}

runtime::Value onHomeButtonClick(runtime::Event&) {
    openInNewTab(homePageUrl());
    return {};
}

}  // namespace search
