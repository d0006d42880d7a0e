#include "hot_searches.h"

#include "listing_urls.h"
#include "tabs/main_ui.h"

namespace search {

const std::array<HotSearch, 12>& hotSearches() {
    // The keys are fixed texts rather than encodings made at run time, so a
    // label keeps sending exactly what the listing site knows.
    static const std::array<HotSearch, 12> table{{
        {tabs::name::kHotLabel1, "合击", "%BA%CF%BB%F7", 0},
        {tabs::name::kHotLabel2, "极品", "%BC%AB%C6%B7", 0},
        {tabs::name::kHotLabel3, "１８５", "%A3%B1%A3%B8%A3%B5", 0},
        {tabs::name::kHotLabel4, "变态", "%B1%E4%CC%AC", 0},
        {tabs::name::kHotLabel5, "仿盛大", "%B7%C2%CA%A2%B4%F3", 0},
        {tabs::name::kHotLabel6, "１７６", "%A3%B1%A3%B7%A3%B6", 0},
        {tabs::name::kHotLabel7, "轻变", "%C7%E1%B1%E4", 0},
        {tabs::name::kHotLabel8, "中变", "%D6%D0%B1%E4", 0},
        {tabs::name::kHotLabel9, "今天", nullptr, 0},
        {tabs::name::kHotLabel10, "明天", nullptr, 1},
        {tabs::name::kHotLabel11, "昨天", nullptr, -1},
        {tabs::name::kHotLabel12, "后天", nullptr, 2},
    }};
    return table;
}

std::optional<std::string> hotSearchUrl(std::string_view labelName, const CivilDate& today) {
    for (const HotSearch& h : hotSearches()) {
        if (labelName != h.labelName) continue;
        if (h.key) return keywordSearchUrl(h.key);
        return dateSearchUrl(dateKeyword(h.dayOffset, today));
    }
    return std::nullopt;
}

}  // namespace search
