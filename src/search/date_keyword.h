// Date keywords of the hot-search labels: a local date a few days from
// today as year-month-day without leading zeros ("2015-8-10").
#pragma once

#include <functional>
#include <string>

namespace search {

struct CivilDate {
    int year = 1970;
    unsigned month = 1;  // 1..12
    unsigned day = 1;    // 1..31
};

// Today's date in local time.
CivilDate localToday();

// The date keyword of today + offsetDays, by calendar arithmetic (month and
// year boundaries and leap years as the calendar has them).
std::string dateKeyword(int offsetDays, const CivilDate& today);

}  // namespace search
