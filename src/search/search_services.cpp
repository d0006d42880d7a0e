#include "search_services.h"

#include "keyword_encoding.h"
#include "listing_urls.h"
#include "placeholder.h"
#include "runtime/runtime.h"
#include "sysutil/message_box.h"
#include "tabs/tab_table.h"

namespace search {

Services defaultServices() {
    Services s;
    s.openInNewTab = [](const std::string& url) { tabs::OpenInNewTab(url); };
    s.navigateTab = [](const std::string& url, int32_t n) { tabs::NavigateTab(url, n); };
    s.updateLoadingButtons = [] { tabs::UpdateLoadingButtons(); };
    s.updateBackForwardButtons = [] { tabs::UpdateBackForwardButtons(); };
    s.showReminder = [] { sysutil::ownedMessageBox(kReminderText, sysutil::message_box::style::kOk, kReminderCaption); };
    s.pumpMessages = [] { rt::Runtime::instance().processPendingMessages(); };
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
    if (s.openInNewTab) s.openInNewTab(url);
}

}  // namespace search
