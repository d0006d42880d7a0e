// The operations the search and address handlers call outside this folder,
// gathered so tests can stand in for the tab table, the reminder box, the
// message pump and the clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "date_keyword.h"

namespace search {

struct Services {
    std::function<void(const std::string& url)> openInNewTab;
    std::function<void(const std::string& url, int32_t tab)> navigateTab;
    std::function<void()> updateLoadingButtons;
    std::function<void()> updateBackForwardButtons;
    std::function<void()> showReminder;  // the empty-keyword message box
    std::function<void()> pumpMessages;  // lets queued window messages through
    // Whether the main window still stands; a queued quit click can close it
    // inside pumpMessages. Unset means it always does.
    std::function<bool()> windowOpen;
    std::function<CivilDate()> today;
};

// The program's services: the tab table, the owned message box, the
// runtime's message pump and the local clock.
Services defaultServices();

// The services the handlers use; defaultServices() until a test swaps them.
Services& services();

inline constexpr const char* kReminderText = "请输入您要搜的关键词";
inline constexpr const char* kReminderCaption = "友情提示：";

// A search on the search box's content: the reminder for a blank or
// placeholder keyword, otherwise a keyword search in a new tab on the
// content exactly as typed. When the window closed while the keyword was
// encoded, the search ends quietly: there is no tab control to open into.
void runSearch(std::string_view content, const Services& s);

}  // namespace search
