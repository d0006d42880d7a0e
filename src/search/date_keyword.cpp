#include "date_keyword.h"

#include <chrono>
#include <ctime>

namespace search {

CivilDate localToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday)};
}

std::string dateKeyword(int offsetDays, const CivilDate& today) {
    using namespace std::chrono;
    // An out-of-range day (an injected 31 April) rolls over as the calendar
    // would count it rather than producing nonsense.
    sys_days base{year{today.year} / month{today.month} / day{1}};
    base += days{static_cast<int>(today.day) - 1};
    year_month_day d{base + days{offsetDays}};
    return std::to_string(static_cast<int>(d.year())) + "-" + std::to_string(static_cast<unsigned>(d.month())) + "-" +
           std::to_string(static_cast<unsigned>(d.day()));
}

}  // namespace search
