// Closing tabs: by a tab's close button, a right click on its header, or the
// close-current-tab button. The only tab is never closed: it switches
// between the two search engines' home pages instead.
#include "main_ui.h"
#include "runtime/check.h"
#include "tab_components.h"
#include "tab_rules.h"
#include "tab_table.h"
#include "widgets/web_browser.h"

namespace tabs {

namespace {

// Takes entry n out of the table, with its browser and close button.
void removeTab(int32_t n) {
    TabRecord r = tabTable[static_cast<size_t>(n - 1)];
    DestroyTabBrowser(n);
    if (runtime::lenient::live(r.closeButton())) components::runtime().destroy(r.closeButton());
    tabTable.erase(tabTable.begin() + (n - 1));
}

// Page operations raise page changes while the table and the pages do not
// match yet; busy keeps RefreshSelection out of them until both agree.
class BusyWhile {
public:
    BusyWhile() : was_(busy) { busy = 1; }
    ~BusyWhile() { busy = was_; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    int32_t was_;
};

// What every close ends with: captions grow back into the room the closed
// header left (all 16 bytes once one tab is left), the selection is brought
// in line, and the tags follow.
void afterClosing() {
    regrowCaptions();
    tabCountChanged();
    RefreshSelection();
    ArrangeCloseButtons();
    RenumberTabs();
}

}  // namespace

void DestroyTabBrowser(int32_t n) {
    if (!VAROMEL_CHECK(isTab(n))) return;
    runtime::ComponentRef b = tabTable[static_cast<size_t>(n - 1)].browser();
    if (!runtime::lenient::live(b)) return;
    // Stopped first, so that no further events arrive from it.
    components::runtime().call(b, widgets::web_browser::method::kStop);
    runtime::lenient::setVisible(b, false);
    components::runtime().destroy(b);
}

void CloseTabAt(int32_t page) {
    if (page != 0) {
        CloseTab(page);
        return;
    }
    if (components::pageCount() == 1) {
        // The only tab stays; it shows a search engine instead.
        std::string url, requested;
        if (isTab(1)) {
            url = components::locationUrl(tabTable[0].browser());
            requested = components::requestedUrl(tabTable[0].browser());
        }
        NavigateTab(onlyTabTarget(url, requested), 1);
        afterClosing();
        return;
    }
    if (tabCount() < 2) return;
    // Page 0 came with the window and stays; the tab after it moves in and
    // brings its caption and tooltip along. The page on show stays on show:
    //   tabs [1 2* 3], close 1 -> [1* 2] showing the former tab 2.
    const int32_t shownBefore = components::currentPage();
    const int32_t shownAfter = pageAfterClosing(components::pageCount(), shownBefore, 0);
    {
        BusyWhile quiet;
        removeTab(1);
        runtime::lenient::set(tabTable[0].browser(), runtime::prop::kTag, browserTag(1));
        runtime::lenient::set(tabTable[0].closeButton(), runtime::prop::kTag, closeButtonTag(1));
        std::string caption = components::pageCaption(1), tip = components::pageTip(1);
        components::removePage(1);
        components::setPageCaption(0, caption);
        components::setPageTip(0, tip);
        components::setCurrentPage(shownAfter);
    }
    afterClosing();
}

void CloseTab(int32_t page) {
    if (tabCount() == 1) {
        // The only tab stays open; its caption gets back its full length.
        regrowCaptions();
        return;
    }
    if (page < 0 || !isTab(page + 1) || page >= components::pageCount()) return;
    //   tabs [1 2* 3], close 1 -> [1 2*] still showing tab 2;
    //   tabs [1 2* 3], close 2 -> [1 2*] showing the former tab 3;
    //   tabs [1 2 3*], close 3 -> [1 2*].
    const int32_t shownAfter = pageAfterClosing(components::pageCount(), components::currentPage(), page);
    {
        BusyWhile quiet;
        removeTab(page + 1);
        components::removePage(page);
        components::setCurrentPage(shownAfter);
    }
    afterClosing();
}

}  // namespace tabs
