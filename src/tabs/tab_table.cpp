// The tab table and the operations that create, navigate, select and lay out
// tabs. Tab n is tab-control page n - 1; the tags of a tab's browser ("n")
// and close button ("n - 1") are how events find their tab, so every change
// of numbering ends in RenumberTabs.
#include "tab_table.h"

#include <cstdio>

#include "listing_site.h"
#include "main_ui.h"
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

ui::MainUi& u() { return ui::mainUi(); }

TabRecord* record(int32_t n) { return isTab(n) ? &tabTable[static_cast<size_t>(n - 1)] : nullptr; }

// Copies of the two templates for one tab; nothing when a template is
// missing (its kind refused it), which the caller reports.
std::optional<TabRecord> copyTemplates() {
    rt::Runtime& rt = cx::runtime();
    if (!cx::live(u().templateBrowser) || !cx::live(u().templateCloseButton)) return std::nullopt;
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
    cx::runtime().runtimeError(rt::runtime_error::kNoSuchComponent, "无法复制浏览器或关闭标签按钮的模板组件");
}

}  // namespace

int32_t tabCount() { return static_cast<int32_t>(tabTable.size()); }
bool isTab(int32_t n) { return n >= 1 && n <= tabCount(); }

ShellHooks& shellHooks() {
    static ShellHooks h;
    return h;
}

void ArrangeTitleBarButtons() {
    // Visibility first: the shell lays out only the buttons that show.
    cx::setVisible(u().closeCurrentTabButton, closeCurrentTabButtonShown(tabCount()));
    if (shellHooks().arrangeTitleBarButtons) shellHooks().arrangeTitleBarButtons();
}

void OpenInNewTab(const std::string& url) {
    if (!roomForAnotherTab(tabCount())) {
        std::fprintf(stderr, "varomel: %d tabs are open; close some before opening more\n", tabCount());
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
    cx::setVisible(r->closeButton(), true);
    tabTable.push_back(*r);
    RenumberTabs();
    cx::addPage(kLoadingCaption);
    ArrangeTitleBarButtons();
    FitCaptions();
    return tabCount();
}

void CreateFirstTab(const std::string& url) {
    cx::set(u().titleLabel, rt::prop::own(rt::label::kCaption), std::string(kProgramTitle));
    cx::setWindowCaption(cx::titleLabelText());

    // The window description brings the first tab's page; a control built
    // without pages gets it here.
    if (cx::live(u().tabControl) && cx::pageCount() == 0) cx::addPage(kLoadingCaption);

    std::optional<TabRecord> r = copyTemplates();
    if (!r) {
        reportMissingTemplate();
        return;
    }
    cx::setVisible(r->closeButton(), true);
    cx::setVisible(r->browser(), true);
    currentTab = 1;
    cx::set(r->browser(), rt::prop::kTag, browserTag(1));
    cx::set(r->closeButton(), rt::prop::kTag, closeButtonTag(1));
    if (tabTable.empty()) tabTable.emplace_back();
    tabTable[0] = *r;
    // One tab: the close-current-tab button stays out of sight until a
    // second one opens.
    cx::setVisible(u().closeCurrentTabButton, closeCurrentTabButtonShown(tabCount()));
    UpdateBackForwardButtons();
    // The window was maximised before this tab existed: lay the browser
    // over the page area now rather than waiting for the first title.
    LayOutTabBrowser(1);
    NavigateTab(url.empty() ? std::string(listing::kBaseUrl) : url, 1);
}

void RenumberTabs() {
    for (int32_t n = 1; n <= tabCount(); ++n) {
        const TabRecord& r = tabTable[static_cast<size_t>(n - 1)];
        cx::set(r.browser(), rt::prop::kTag, browserTag(n));
        cx::set(r.closeButton(), rt::prop::kTag, closeButtonTag(n));
    }
}

void NavigateTab(const std::string& url, int32_t n) {
    TabRecord* r = record(n);
    if (!r) return;
    cx::navigate(r->browser(), url);
    cx::setAddressText(url);
}

void SelectTab(int32_t n) {
    for (int32_t i = 1; i <= tabCount(); ++i) {
        rt::ComponentRef browser = tabTable[static_cast<size_t>(i - 1)].browser();
        if (i == n) {
            // Selecting the page may run the page-change handler right here.
            cx::setCurrentPage(i - 1);
            if (!cx::visible(browser)) cx::setVisible(browser, true);
            currentTab = i;
            ArrangeCloseButtons();
        } else if (cx::visible(browser)) {
            cx::setVisible(browser, false);
        }
    }
}

void LayOutTabBrowser(int32_t n) {
    TabRecord* r = record(n);
    if (!r || !cx::live(u().tabControl)) return;
    auto a = tabBrowserArea(cx::headerPosition(), cx::area(u().tabControl), cx::pageAreaWidth(), cx::pageAreaHeight(),
                            cx::headerHeight());
    if (!a) return;
    rt::ComponentRef b = r->browser();
    cx::set(b, rt::prop::kWidth, a->width);
    cx::set(b, rt::prop::kHeight, a->height);
    cx::set(b, rt::prop::kLeft, a->left);
    cx::set(b, rt::prop::kTop, a->top);
}

void ArrangeCloseButtons() {
    if (layoutReady == 0 || !cx::live(u().tabControl)) return;
    Area control = cx::area(u().tabControl);
    for (int32_t i = 0; i < tabCount(); ++i) {
        rt::ComponentRef button = tabTable[static_cast<size_t>(i)].closeButton();
        auto header = cx::headerRect(i);
        if (!header || !cx::live(button)) continue;
        Area b = cx::area(button);
        cx::moveTo(button, closeButtonPlace(control, *header, b.width, b.height));
    }
    auto last = cx::headerRect(cx::pageCount() - 1);
    if (!last) return;
    cx::moveTo(u().newTabButton, newTabButtonPlace(control, *last, cx::area(u().newTabButton).height));
}

void FitCaptions() {
    if (!cx::live(u().tabControl)) return;
    auto first = cx::headerRect(0);
    int32_t k = cx::pageCount();
    if (!first || k < 1) return;
    auto m = shrunkCaptionLength(first->width, cx::area(u().tabControl).width, k, maxCaptionLength);
    if (!m) return;
    maxCaptionLength = *m;
    for (int32_t i = 0; i < k; ++i) cx::setPageCaption(i, FitText(cx::pageCaption(i), *m));
}

std::string CaptionFromTitle(const std::string& title, int32_t page) {
    cx::setPageTip(page, title);
    std::string t = captionTextFromTitle(title, maxCaptionLength);
    ArrangeCloseButtons();
    return t;
}

void RefreshSelection() {
    if (busy == 1) return;
    int32_t selected = cx::currentPage() + 1;
    SelectTab(selected);
    LayOutTabBrowser(currentTab);
    // A page without a record has nothing to show: it goes. The selected
    // page is what counts here, since SelectTab leaves currentTab alone when
    // no record matches.
    if (selected > tabCount()) {
        cx::removePage(cx::currentPage());
        ArrangeCloseButtons();
        return;
    }
    TabRecord* r = record(currentTab);
    if (!r || !cx::live(r->browser())) return;
    std::string name = cx::locationName(r->browser());
    cx::setWindowCaption(name);
    cx::setPageCaption(currentTab - 1, CaptionFromTitle(name, currentTab - 1));
    UpdateLoadingButtons();
    UpdateBackForwardButtons();
    std::string url = cx::locationUrl(r->browser());
    if (IsShowableUrl(currentTab, url)) cx::setAddressText(url);
}

void UpdateLoadingButtons() {
    TabRecord* r = record(currentTab);
    if (!r) return;
    bool loading = r->loading == 1;
    cx::setVisible(u().stopButton, loading);
    cx::setVisible(u().refreshButton, !loading);
    cx::setVisible(u().loadProgressLabel, loading);
}

void UpdateBackForwardButtons() {
    TabRecord* r = record(currentTab);
    if (!r) return;
    bool forward = r->forwardEnabled == 1, back = r->backEnabled == 1;
    cx::setVisible(u().forwardButton, forward);
    cx::setVisible(u().forwardDisabledButton, !forward);
    cx::setVisible(u().backButton, back);
    cx::setVisible(u().backDisabledButton, !back);
}

bool IsShowableUrl(int32_t n, const std::string& url) { return n == currentTab && !isBlankUrl(url); }

}  // namespace tabs
