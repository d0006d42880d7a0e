// The twelve hot-search labels: eight fixed keywords and four dates.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "date_keyword.h"

namespace search {

struct HotSearch {
    const char* labelName;  // the label's component name
    const char* keyword;    // what is searched for (the full-width digits for "185" and "176")
    const char* key;        // the keyword as sent, already escaped; null for a date label
    int dayOffset;          // date labels only: days from today
};

// Hot-search labels 1 to 12, left to right.
const std::array<HotSearch, 12>& hotSearches();

// The URL a click on the named label opens, or nothing for a name that is
// not a hot-search label.
std::optional<std::string> hotSearchUrl(std::string_view labelName, const CivilDate& today);

}  // namespace search
