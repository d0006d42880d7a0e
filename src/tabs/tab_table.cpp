// The tab table and the operations that create, navigate, select and lay out
// tabs. Tab n is tab-control page n - 1; the tags of a tab's browser ("n")
// and close button ("n - 1") are how events find their tab, so every change
// of numbering ends in RenumberTabs.
#include "tab_table.h"

#include <glib.h>

#include "main_ui.h"
#include "program/listing_site.h"
#include "runtime/check.h"
#include "runtime/kinds/builtin_kinds.h"
#include "tab_components.h"
#include "tab_rules.h"

namespace tabs {

std::vector<TabRecord> tabTable(1);
int32_t currentTab = 0;
int32_t busy = 0;
int32_t maxCaptionLength = 16;
int32_t layoutReady = 0;

namespace {

constexpr const char* kLoadingCaption = "载入..";
constexpr const char* kProgramTitle = "Varomel";

tabs::MainUi& u() { return tabs::mainUi(); }

TabRecord* record(int32_t n) { return isTab(n) ? &tabTable[static_cast<size_t>(n - 1)] : nullptr; }

// Copies of the two templates for one tab; nothing when a template is
// missing (its kind refused it), which the caller reports.
std::optional<TabRecord> copyTemplates() {
    runtime::Runtime& rt = components::runtime();
    if (!runtime::lenient::live(u().templateBrowser) || !runtime::lenient::live(u().templateCloseButton))
        return std::nullopt;
    auto browser = rt.copy(u().templateBrowser);
    if (!browser) return std::nullopt;
    auto button = rt.copy(u().templateCloseButton);
    if (!button) {
        rt.destroy(*browser);
        return std::nullopt;
    }
    TabRecord r;
    r.browserWindow = browser->window;
    r.browserComponent = browser->component;
    r.closeButtonWindow = button->window;
    r.closeButtonComponent = button->component;
    return r;
}

void reportMissingTemplate() {
    components::runtime().runtimeError(
        runtime::runtime_error::kNoSuchComponent, "无法复制浏览器或关闭标签按钮的模板组件");
}

}  // namespace

int32_t tabCount() { return static_cast<int32_t>(tabTable.size()); }
bool isTab(int32_t n) { return n >= 1 && n <= tabCount(); }

ShellHooks& shellHooks() {
    static ShellHooks h;
    return h;
}

void tabCountChanged() {
    // Visibility first: the shell lays out only the buttons that show.
    runtime::lenient::setVisible(u().closeCurrentTabButton, closeCurrentTabButtonShown(tabCount()));
    if (shellHooks().arrangeTitleBarButtons) shellHooks().arrangeTitleBarButtons();
}

void OpenInNewTab(const std::string& url) {
    if (!roomForAnotherTab(tabCount())) {
        g_warning("%d tabs are open; close some before opening more", tabCount());
        return;
    }
    busy = 1;
    int32_t n = CreateTab();
    if (n > 0) {
        NavigateTab(url, n);
        SelectTab(n);
        LayOutTabBrowser(n);
    }
    busy = 0;
}

int32_t CreateTab() {
    std::optional<TabRecord> r = copyTemplates();
    if (!r) {
        reportMissingTemplate();
        return 0;
    }
    // The browser stays hidden as copied until SelectTab shows it.
    runtime::lenient::setVisible(r->closeButton(), true);
    tabTable.push_back(*r);
    RenumberTabs();
    if (components::addPage(kLoadingCaption) < 0) {
        // The tab control holds no more pages: a tab without a page could
        // never be selected or closed, so it is not opened at all.
        tabTable.pop_back();
        components::runtime().destroy(r->browser());
        components::runtime().destroy(r->closeButton());
        return 0;
    }
    components::nameCloseButton(tabCount() - 1);
    tabCountChanged();
    FitCaptions();
    return tabCount();
}

void CreateFirstTab(const std::string& url) {
    runtime::lenient::set(u().titleLabel, runtime::prop::own(runtime::label::kCaption), std::string(kProgramTitle));
    components::setWindowCaption(components::titleLabelText());

    // The window description brings the first tab's page; a control built
    // without pages gets it here.
    if (runtime::lenient::live(u().tabControl) && components::pageCount() == 0) components::addPage(kLoadingCaption);

    std::optional<TabRecord> r = copyTemplates();
    if (!r) {
        reportMissingTemplate();
        return;
    }
    runtime::lenient::setVisible(r->closeButton(), true);
    runtime::lenient::setVisible(r->browser(), true);
    currentTab = 1;
    runtime::lenient::set(r->browser(), runtime::prop::kTag, browserTag(1));
    runtime::lenient::set(r->closeButton(), runtime::prop::kTag, closeButtonTag(1));
    if (tabTable.empty()) tabTable.emplace_back();
    tabTable[0] = *r;
    components::nameCloseButton(0);
    // One tab: the close-current-tab button stays out of sight until a
    // second one opens.
    runtime::lenient::setVisible(u().closeCurrentTabButton, closeCurrentTabButtonShown(tabCount()));
    UpdateBackForwardButtons();
    // The window was maximised before this tab existed: lay the browser
    // over the page area now rather than waiting for the first title.
    LayOutTabBrowser(1);
    NavigateTab(url.empty() ? std::string(program::listing::kBaseUrl) : url, 1);
}

void RenumberTabs() {
    for (int32_t n = 1; n <= tabCount(); ++n) {
        const TabRecord& r = tabTable[static_cast<size_t>(n - 1)];
        runtime::lenient::set(r.browser(), runtime::prop::kTag, browserTag(n));
        runtime::lenient::set(r.closeButton(), runtime::prop::kTag, closeButtonTag(n));
    }
}

void NavigateTab(const std::string& url, int32_t n) {
    TabRecord* r = record(n);
    if (!VAROMEL_CHECK(r != nullptr)) return;
    components::navigate(r->browser(), url);
    components::setAddressText(url);
}

void SelectTab(int32_t n) {
    for (int32_t i = 1; i <= tabCount(); ++i) {
        runtime::ComponentRef browser = tabTable[static_cast<size_t>(i - 1)].browser();
        if (i == n) {
            // Selecting the page may run the page-change handler right here.
            components::setCurrentPage(i - 1);
            if (!runtime::lenient::visible(browser)) runtime::lenient::setVisible(browser, true);
            currentTab = i;
            ArrangeCloseButtons();
        } else if (runtime::lenient::visible(browser)) {
            runtime::lenient::setVisible(browser, false);
        }
    }
}

void LayOutTabBrowser(int32_t n) {
    TabRecord* r = record(n);
    if (!r || !runtime::lenient::live(u().tabControl)) return;
    // The page area starts below every row of headers, and the selected
    // row moves next to it: only the control knows where that is.
    Area a = tabBrowserArea(components::headerPosition(), components::area(u().tabControl), components::pageArea());
    runtime::ComponentRef b = r->browser();
    runtime::lenient::set(b, runtime::prop::kWidth, a.width);
    runtime::lenient::set(b, runtime::prop::kHeight, a.height);
    runtime::lenient::set(b, runtime::prop::kLeft, a.left);
    runtime::lenient::set(b, runtime::prop::kTop, a.top);
}

void ArrangeCloseButtons() {
    if (layoutReady == 0 || !runtime::lenient::live(u().tabControl)) return;
    Area control = components::area(u().tabControl);
    // Only pages that exist have a header; a record beyond them would get
    // the whole header area from GetHeaderRect.
    const int32_t pages = std::min(tabCount(), components::pageCount());
    std::vector<Area> headers;
    for (int32_t i = 0; i < pages; ++i) headers.push_back(components::headerRect(i).value_or(Area{}));
    std::vector<bool> onView = closeButtonsOnView(headers, control.width);
    for (int32_t i = 0; i < tabCount(); ++i) {
        runtime::ComponentRef button = tabTable[static_cast<size_t>(i)].closeButton();
        if (!runtime::lenient::live(button)) continue;
        bool shown = i < pages && onView[static_cast<size_t>(i)];
        if (shown) {
            Area b = components::area(button);
            components::moveTo(button, closeButtonPlace(control, headers[static_cast<size_t>(i)], b.width, b.height));
        }
        if (runtime::lenient::visible(button) != shown) runtime::lenient::setVisible(button, shown);
    }
    auto last = components::headerRect(components::pageCount() - 1);
    if (!last) return;
    Area plus = components::area(u().newTabButton);
    Point place = newTabButtonPlace(control, *last, plus.height);
    // With the last header out of view, or no room left of the control's
    // end, the button would float over the page or the window's border.
    bool fits = newTabButtonFits(*last, place.left - control.left, plus.width, control.width);
    if (fits) components::moveTo(u().newTabButton, place);
    if (runtime::lenient::visible(u().newTabButton) != fits) runtime::lenient::setVisible(u().newTabButton, fits);
}

void FitCaptions() {
    if (!runtime::lenient::live(u().tabControl)) return;
    auto first = components::headerRect(0);
    int32_t k = components::pageCount();
    if (!first || k < 1) return;
    auto m = shrunkCaptionLength(first->width, components::area(u().tabControl).width, k, maxCaptionLength);
    if (!m) return;
    maxCaptionLength = *m;
    for (int32_t i = 0; i < k; ++i) components::setPageCaption(i, FitText(components::pageCaption(i), *m));
}

namespace {

// A page's full text: its tooltip holds the whole title once one arrived;
// before that the caption itself ("载入..") is all there is.
std::string fullCaptionText(int32_t page) {
    std::string tip = components::pageTip(page);
    if (!tip.empty()) return tip;
    std::string caption = components::pageCaption(page);
    caption.erase(caption.find_last_not_of(' ') + 1);
    return caption;
}

std::vector<std::string> fullCaptionTexts() {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < components::pageCount(); ++i) texts.push_back(fullCaptionText(i));
    return texts;
}

void setCaptionsFromFullTexts(const std::vector<std::string>& texts, int32_t m) {
    for (size_t i = 0; i < texts.size(); ++i) components::setPageCaption(static_cast<int32_t>(i), FitText(texts[i], m));
}

}  // namespace

void regrowCaptions() {
    if (!runtime::lenient::live(u().tabControl)) return;
    if (tabCount() == 1) {
        // One tab always has room for its whole caption.
        bool shortened = maxCaptionLength < kLongestCaption;
        maxCaptionLength = kLongestCaption;
        if (shortened) setCaptionsFromFullTexts(fullCaptionTexts(), maxCaptionLength);
        FitCaptions();
        return;
    }
    if (maxCaptionLength >= kLongestCaption) return;
    const int32_t k = components::pageCount();
    const std::vector<std::string> texts = fullCaptionTexts();
    // Double while the longer captions still leave room for one more header,
    // the test FitCaptions halves by.
    while (auto m = grownCaptionLength(maxCaptionLength)) {
        setCaptionsFromFullTexts(texts, *m);
        auto first = components::headerRect(0);
        if (!first || !roomForAnotherHeader(first->width, components::area(u().tabControl).width, k)) {
            setCaptionsFromFullTexts(texts, maxCaptionLength);
            return;
        }
        maxCaptionLength = *m;
    }
}

std::string CaptionFromTitle(const std::string& title, int32_t page) {
    components::setPageTip(page, title);
    std::string t = captionTextFromTitle(title, maxCaptionLength);
    ArrangeCloseButtons();
    return t;
}

void RefreshSelection() {
    if (busy == 1) return;
    int32_t selected = components::currentPage() + 1;
    SelectTab(selected);
    LayOutTabBrowser(currentTab);
    // A page without a record has nothing to show: it goes. The selected
    // page is what counts here, since SelectTab leaves currentTab alone when
    // no record matches.
    if (selected > tabCount()) {
        components::removePage(components::currentPage());
        ArrangeCloseButtons();
        return;
    }
    TabRecord* r = record(currentTab);
    if (!r || !runtime::lenient::live(r->browser())) return;
    std::string name = components::locationName(r->browser());
    components::setWindowCaption(name);
    components::setPageCaption(currentTab - 1, CaptionFromTitle(name, currentTab - 1));
    UpdateLoadingButtons();
    UpdateBackForwardButtons();
    std::string url = components::locationUrl(r->browser());
    if (IsShowableUrl(currentTab, url)) components::setAddressText(url);
}

void UpdateLoadingButtons() {
    TabRecord* r = record(currentTab);
    if (!r) return;
    bool loading = r->loading == 1;
    runtime::lenient::setVisible(u().stopButton, loading);
    runtime::lenient::setVisible(u().refreshButton, !loading);
    runtime::lenient::setVisible(u().loadProgressLabel, loading);
}

void UpdateBackForwardButtons() {
    TabRecord* r = record(currentTab);
    if (!r) return;
    bool forward = r->forwardEnabled == 1, back = r->backEnabled == 1;
    runtime::lenient::setVisible(u().forwardButton, forward);
    runtime::lenient::setVisible(u().forwardDisabledButton, !forward);
    runtime::lenient::setVisible(u().backButton, back);
    runtime::lenient::setVisible(u().backDisabledButton, !back);
}

bool IsShowableUrl(int32_t n, const std::string& url) { return n == currentTab && !isBlankUrl(url); }

}  // namespace tabs
