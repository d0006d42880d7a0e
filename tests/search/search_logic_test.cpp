// Keyword encoding, URL forms, date keywords, hot-search keys, placeholder
// rules, the address box's Enter decision and the search decision, without
// a display.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program/listing_site.h"
#include "runtime/key_codes.h"
#include "search/address_keys.h"
#include "search/date_keyword.h"
#include "search/hot_searches.h"
#include "search/keyword_encoding.h"
#include "search/listing_urls.h"
#include "search/placeholder.h"
#include "search/search_services.h"
#include "tabs/main_ui.h"

namespace {

using namespace search;
const std::string kBase = program::listing::kBaseUrl;

TEST(KeywordEncoding, EscapesEveryGbkByte) {
    struct Row {
        const char* name;
        std::string in;
        const char* out;
    };
    const Row rows[] = {
        {"ascii", "abc", "%61%62%63"},
        {"spaces_kept_everywhere", " 变态 ", "%20%B1%E4%CC%AC%20"},
        {"tab_keeps_its_leading_zero", "\t", "%09"},
        {"punctuation_and_digits", "a&b=1", "%61%26%62%3D%31"},
        {"full_width_digits", "１８５", "%A3%B1%A3%B8%A3%B5"},
        {"full_width_space", "\xE3\x80\x80", "%A1%A1"},
        {"high_bytes_upper_case", "仿盛大", "%B7%C2%CA%A2%B4%F3"},
        {"empty", "", ""},
        // Characters outside the two-byte table are never sent as "?" (%3F).
        {"euro_sign_single_byte", "\xE2\x82\xAC", "%80"},
        {"emoji_as_gb18030", "\xF0\x9F\x98\x80", "%94%39%FC%36"},
    };
    for (const Row& r : rows) EXPECT_EQ(encodeKeyword(r.in), r.out) << r.name;
}

TEST(KeywordEncoding, LetsMessagesThroughAfterEveryByte) {
    int calls = 0;
    EXPECT_EQ(encodeKeyword("a变", [&] { ++calls; }), "%61%B1%E4");
    EXPECT_EQ(calls, 3);
    calls = 0;
    encodeKeyword("", [&] { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(ListingUrls, FourFormsOnOneBase) {
    ASSERT_EQ(kBase.rfind("http://", 0), 0u);
    ASSERT_EQ(kBase.back(), '/');
    EXPECT_EQ(homePageUrl(), kBase);
    EXPECT_EQ(newServersUrl(), kBase + "new.html");
    EXPECT_EQ(keywordSearchUrl("%B1%E4%CC%AC"), kBase + "search.asp?key=%B1%E4%CC%AC&otype=name");
    EXPECT_EQ(dateSearchUrl("2015-8-10"), kBase + "search.asp?page=1&key=2015-8-10&otype=Sdate&menu=all");
}

TEST(DateKeyword, CalendarBoundariesWithoutLeadingZeros) {
    struct Row {
        CivilDate today;
        int offset;
        const char* out;
    };
    const Row rows[] = {
        {{2015, 8, 10}, 0, "2015-8-10"},
        {{2015, 12, 31}, 1, "2016-1-1"},
        {{2015, 12, 31}, 2, "2016-1-2"},
        {{2016, 1, 1}, -1, "2015-12-31"},
        {{2016, 3, 1}, -1, "2016-2-29"},  // leap year
        {{2015, 3, 1}, -1, "2015-2-28"},
        {{2000, 2, 28}, 1, "2000-2-29"},  // divisible by 400: leap
        {{1900, 2, 28}, 1, "1900-3-1"},   // divisible by 100 only: not
        {{2016, 2, 29}, 2, "2016-3-2"},
        {{2015, 9, 30}, 1, "2015-10-1"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(dateKeyword(r.offset, r.today), r.out)
            << r.today.year << "-" << r.today.month << "-" << r.today.day << " " << r.offset;
}

TEST(DateKeyword, LocalTodayIsAValidDate) {
    CivilDate d = localToday();
    EXPECT_GE(d.year, 2000);
    EXPECT_GE(d.month, 1u);
    EXPECT_LE(d.month, 12u);
    EXPECT_EQ(dateKeyword(0, d), std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day));
}

TEST(HotSearches, FixedKeysAreTheGbkEscapesOfTheirKeywords) {
    const char* keywords[8] = {"合击", "极品", "１８５", "变态", "仿盛大", "１７６", "轻变", "中变"};
    for (int i = 0; i < 8; ++i) {
        const HotSearch& h = hotSearches()[i];
        EXPECT_STREQ(h.keyword, keywords[i]);
        ASSERT_NE(h.key, nullptr);
        EXPECT_EQ(h.key, encodeKeyword(h.keyword)) << "label " << i + 1;
    }
}

TEST(HotSearches, UrlsByLabelName) {
    CivilDate newYearsEve{2015, 12, 31};
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotLabel4, newYearsEve), kBase + "search.asp?key=%B1%E4%CC%AC&otype=name");
    EXPECT_EQ(
        hotSearchUrl(tabs::name::kHotLabel3, newYearsEve), kBase + "search.asp?key=%A3%B1%A3%B8%A3%B5&otype=name");
    auto date = [&](const char* d) { return kBase + "search.asp?page=1&key=" + d + "&otype=Sdate&menu=all"; };
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotLabel9, newYearsEve), date("2015-12-31"));
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotLabel10, newYearsEve), date("2016-1-1"));
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotLabel11, {2016, 3, 1}), date("2016-2-29"));
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotLabel12, newYearsEve), date("2016-1-2"));
    // The caption in front of the labels and unknown names search nothing.
    EXPECT_EQ(hotSearchUrl(tabs::name::kHotCaption, newYearsEve), std::nullopt);
    EXPECT_EQ(hotSearchUrl("", newYearsEve), std::nullopt);
}

TEST(Placeholder, FocusRules) {
    const char* p = kSearchPlaceholder;
    // Gained: only the hint (spaces ignored) is cleared; always black.
    BoxChange g = onFocusGained("输入 关键字", p);
    EXPECT_EQ(g.content, "");
    EXPECT_EQ(g.colour, kTextColour);
    g = onFocusGained("http://a/", kAddressPlaceholder);
    EXPECT_EQ(g.content, std::nullopt);
    EXPECT_EQ(g.colour, kTextColour);
    g = onFocusGained("", p);
    EXPECT_EQ(g.content, std::nullopt);
    // Lost: blank or the hint gets the grey hint back; real text is left.
    for (const char* blank : {"", "   ", "\xE3\x80\x80", "输入关键字 "}) {
        BoxChange l = onFocusLost(blank, p);
        EXPECT_EQ(l.content, p) << blank;
        EXPECT_EQ(l.colour, kPlaceholderColour) << blank;
    }
    BoxChange l = onFocusLost(" 变态 ", p);
    EXPECT_EQ(l.content, std::nullopt);
    EXPECT_EQ(l.colour, std::nullopt);
}

// The address box sees a key-down and then, when the key makes one, a
// character; the decisions of both together make the Enter rule.
std::vector<AddressAction> enterActions(guint state) {
    std::vector<AddressAction> out;
    AddressAction a = addressKeyDownAction(runtime::virtualKeyCode(GDK_KEY_Return), runtime::modifierBits(state));
    if (a != AddressAction::kNone) out.push_back(a);
    if (auto ch = runtime::characterCode(GDK_KEY_Return, state)) {
        a = addressCharAction(*ch);
        if (a != AddressAction::kNone) out.push_back(a);
    }
    return out;
}

TEST(AddressKeys, EnterRule) {
    using A = AddressAction;
    EXPECT_EQ(enterActions(0), std::vector<A>{A::kNavigateCurrentTab});
    EXPECT_EQ(enterActions(GDK_CONTROL_MASK), std::vector<A>{A::kOpenInNewTab});
    EXPECT_EQ(enterActions(GDK_SHIFT_MASK), std::vector<A>{A::kNavigateCurrentTab});
    EXPECT_EQ(enterActions(GDK_CONTROL_MASK | GDK_SHIFT_MASK), std::vector<A>{});
    EXPECT_EQ(enterActions(GDK_CONTROL_MASK | GDK_MOD1_MASK), std::vector<A>{});
    // Other keys do nothing, whatever the modifiers.
    EXPECT_EQ(addressKeyDownAction(65, runtime::modifier::kCtrl), A::kNone);
    EXPECT_EQ(addressCharAction('a'), A::kNone);
}

struct Recorder {
    std::vector<std::string> opened;
    int reminders = 0;
    int pumps = 0;
    Services services() {
        Services s;
        s.openInNewTab = [this](const std::string& url) { opened.push_back(url); };
        s.showReminder = [this] { ++reminders; };
        s.pumpMessages = [this] { ++pumps; };
        return s;
    }
};

TEST(RunSearch, BlankOrPlaceholderShowsTheReminderAndOpensNothing) {
    for (const char* content : {"", "   ", "\xE3\x80\x80\xE3\x80\x80", "输入关键字", " 输入\xE3\x80\x80关 键字 "}) {
        Recorder r;
        runSearch(content, r.services());
        EXPECT_EQ(r.reminders, 1) << content;
        EXPECT_TRUE(r.opened.empty()) << content;
    }
}

TEST(RunSearch, SearchesTheContentAsTyped) {
    Recorder r;
    runSearch(" 变态 ", r.services());
    EXPECT_EQ(r.reminders, 0);
    ASSERT_EQ(r.opened.size(), 1u);
    EXPECT_EQ(r.opened[0], kBase + "search.asp?key=%20%B1%E4%CC%AC%20&otype=name");
    EXPECT_EQ(r.pumps, 6);
    // The placeholder with something else in it is a real keyword.
    runSearch("输入关键字x", r.services());
    EXPECT_EQ(r.opened.size(), 2u);
}

TEST(RunSearch, AWindowClosedWhileTheKeywordIsEncodedOpensNoTab) {
    // A quit click let through by the pump after the second byte.
    Recorder r;
    bool open = true;
    Services s = r.services();
    s.pumpMessages = [&] { open = ++r.pumps < 2; };
    s.windowOpen = [&] { return open; };
    runSearch("abcd", s);
    EXPECT_TRUE(r.opened.empty());
    EXPECT_EQ(r.reminders, 0);
}

}  // namespace
