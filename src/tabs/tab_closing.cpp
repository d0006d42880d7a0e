// Closing tabs: by a tab's close button, a right click on its header, or the
// close-current-tab button. The only tab is never closed: it switches
// between the two search engines' home pages instead.
#include "main_ui.h"
#include "tab_components.h"
#include "tab_rules.h"
#include "tab_table.h"
#include "widgets/web_browser.h"

namespace tabs {

namespace {

namespace wb = widgets::web_browser;

// Takes entry n out of the table, with its browser and close button.
void removeTab(int32_t n) {
    TabRecord r = tabTable[static_cast<size_t>(n - 1)];
    DestroyTabBrowser(n);
    if (cx::live(r.closeButton())) cx::runtime().destroy(r.closeButton());
    tabTable.erase(tabTable.begin() + (n - 1));
}

void refitOnlyTab() {
    maxCaptionLength = 16;
    FitCaptions();
}

}  // namespace

void DestroyTabBrowser(int32_t n) {
    if (!isTab(n)) return;
    rt::ComponentRef b = tabTable[static_cast<size_t>(n - 1)].browser();
    if (!cx::live(b)) return;
    // Stopped first, so that no further events arrive from it.
    cx::runtime().call(b, wb::method::kStop);
    cx::setVisible(b, false);
    cx::runtime().destroy(b);
}

void CloseTabAt(int32_t page) {
    if (page != 0) {
        CloseTab(page);
        return;
    }
    if (cx::pageCount() == 1) {
        // The only tab stays; it shows a search engine instead.
        std::string url, requested;
        if (isTab(1)) {
            url = cx::locationUrl(tabTable[0].browser());
            requested = cx::requestedUrl(tabTable[0].browser());
        }
        NavigateTab(onlyTabTarget(url, requested), 1);
        refitOnlyTab();
    } else if (tabCount() > 1) {
        // Page 0 came with the window and stays; the tab after it moves in
        // and brings its caption along.
        removeTab(1);
        cx::set(tabTable[0].browser(), rt::prop::kTag, browserTag(1));
        cx::set(tabTable[0].closeButton(), rt::prop::kTag, closeButtonTag(1));
        std::string caption = cx::pageCaption(1);
        cx::removePage(1);
        cx::setPageCaption(0, caption);
        if (cx::pageCount() == 1) refitOnlyTab();
    }
    ArrangeTitleBarButtons();
    RefreshSelection();
    ArrangeCloseButtons();
    RenumberTabs();
}

void CloseTab(int32_t page) {
    if (tabCount() == 1) {
        refitOnlyTab();
        return;
    }
    if (page < 0 || !isTab(page + 1)) return;
    removeTab(page + 1);
    if (auto before = pageToSelectBeforeClosing(cx::pageCount(), page)) cx::setCurrentPage(*before);
    cx::removePage(page);
    RefreshSelection();
    ArrangeTitleBarButtons();
    ArrangeCloseButtons();
    RenumberTabs();
}

}  // namespace tabs
