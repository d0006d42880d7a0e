#include "search_services.h"

#include "keyword_encoding.h"
#include "listing_urls.h"
#include "placeholder.h"
#include "runtime/runtime.h"
#include "sysutil/message_box.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"

namespace search {

Services defaultServices() {
    Services s;
    s.openInNewTab = [](const std::string& url) { tabs::OpenInNewTab(url); };
    s.navigateTab = [](const std::string& url, int32_t n) { tabs::NavigateTab(url, n); };
    s.updateLoadingButtons = [] { tabs::UpdateLoadingButtons(); };
    s.updateBackForwardButtons = [] { tabs::UpdateBackForwardButtons(); };
    s.showReminder = [] {
        sysutil::ownedMessageBox(kReminderText, sysutil::message_box::style::kOk, kReminderCaption);
    };
    s.windowOpen = [] { return runtime::Runtime::instance().exists(tabs::mainUi().window); };
    // Once the window is gone nothing queued can matter to this search, and
    // a long keyword would otherwise keep dispatching into a closing program.
    s.pumpMessages = [open = s.windowOpen] {
        if (open()) runtime::Runtime::instance().processPendingMessages();
    };
    s.today = localToday;
    return s;
}

Services& services() {
    static Services s = defaultServices();
    return s;
}

void runSearch(std::string_view content, const Services& s) {
    if (isBlankOrPlaceholder(content, kSearchPlaceholder)) {
        if (s.showReminder) s.showReminder();
        return;
    }
    // Copied: the pump below may run handlers that change the box.
    std::string typed(content);
    std::string url = keywordSearchUrl(encodeKeyword(typed, s.pumpMessages));
    if (s.windowOpen && !s.windowOpen()) return;
    if (s.openInNewTab) s.openInNewTab(url);
}

}  // namespace search
