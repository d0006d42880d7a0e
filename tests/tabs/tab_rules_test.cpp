// Caption fitting, progress text, tags, placements and closing rules: the
// tab arithmetic that needs no display.
#include <glib.h>
#include <gtest/gtest.h>

#include "runtime/gbk.h"
#include "tabs/listing_site.h"
#include "tabs/tab_rules.h"

namespace {

using namespace tabs;

size_t gbkLength(const std::string& s) { return rt::gbk::byteLength(s); }

TEST(FitText, CutsAndPadsToOneByteMoreThanTheLength) {
    EXPECT_EQ(FitText("abc", 5), "abc   ");
    EXPECT_EQ(FitText("abcdefgh", 4), "abcd ");
    EXPECT_EQ(FitText("abcd", 4), "abcd ");
    EXPECT_EQ(FitText("", 3), "    ");
    EXPECT_EQ(FitText("abc", 0), " ");
    EXPECT_EQ(FitText("abc", -1), "");
}

TEST(FitText, NeverCutsInsideADoubleByteCharacter) {
    // "中文字" is six GBK bytes; a cut at 3 would fall inside "文".
    std::string t = FitText("中文字", 3);
    EXPECT_EQ(t, "中  ");
    EXPECT_EQ(gbkLength(t), 4u);
    EXPECT_EQ(FitText("中文字", 4), "中文 ");
    EXPECT_EQ(FitText("a中", 2), "a  ");
    // Every result stays valid UTF-8 (GTK refuses anything else) and m + 1 bytes long.
    for (int m = 0; m <= 10; ++m) {
        std::string r = FitText("合击传奇x新开", m);
        EXPECT_TRUE(g_utf8_validate(r.data(), static_cast<gssize>(r.size()), nullptr)) << m;
        EXPECT_EQ(gbkLength(r), static_cast<size_t>(m + 1)) << m;
    }
}

TEST(CaptionFromTitle, ShortTitlesArePaddedLongOnesCut) {
    std::string five = captionTextFromTitle("hello", 16);
    EXPECT_EQ(five, "hello" + std::string(12, ' ') + "  ");
    EXPECT_EQ(five.size(), 19u);
    std::string forty(40, 'x');
    EXPECT_EQ(captionTextFromTitle(forty, 16), std::string(16, 'x') + "  ");
    // Exactly the maximum counts as long: cut (to itself), no padding.
    EXPECT_EQ(captionTextFromTitle(std::string(16, 'y'), 16), std::string(16, 'y') + "  ");
    // A long Chinese title is cut before the character that would not fit.
    std::string cut = captionTextFromTitle("传奇私服发布网站新开一秒", 15);
    EXPECT_EQ(cut, "传奇私服发布网  ");
}

TEST(FitCaptions, HalvesOnlyWhenTheHeadersNoLongerFit) {
    // 664 wide, headers 120: 664 - 120 - 120 * 4 = 64 -> room left.
    EXPECT_EQ(shrunkCaptionLength(120, 664, 4, 16), std::nullopt);
    // Exactly full still counts as room.
    EXPECT_EQ(shrunkCaptionLength(100, 600, 5, 16), std::nullopt);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 16), 8);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 8), 4);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 3), 1);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 1), std::nullopt);
}

TEST(Progress, OneDecimalAndAPercentSign) {
    using A = ProgressDisplay::Action;
    EXPECT_EQ(progressDisplay(375, 1000).text, "37.5%");
    EXPECT_EQ(progressDisplay(3746, 10000).text, "37.5%");
    ProgressDisplay full = progressDisplay(1000, 1000);
    EXPECT_EQ(full.action, A::kShow);
    EXPECT_EQ(full.text, "100.0%");
    EXPECT_EQ(progressDisplay(1, 10000).text, "0.0%");
    EXPECT_EQ(progressDisplay(0, 1000).action, A::kHide);
    EXPECT_EQ(progressDisplay(1001, 1000).action, A::kKeep);
    EXPECT_EQ(progressDisplay(-5, 1000).action, A::kKeep);
    // A maximum of 0: no number hides, an infinite ratio changes nothing.
    EXPECT_EQ(progressDisplay(0, 0).action, A::kHide);
    EXPECT_EQ(progressDisplay(5, 0).action, A::kKeep);
    EXPECT_EQ(progressDisplay(-5, 0).action, A::kKeep);
}

TEST(Progress, TimerHidesFinishedOrEmptyLabels) {
    EXPECT_TRUE(progressTimerHides("100.0%", true));
    EXPECT_TRUE(progressTimerHides(" 100.0% ", false));
    EXPECT_TRUE(progressTimerHides("100.0\u3000%", true));
    EXPECT_TRUE(progressTimerHides("  ", true));
    EXPECT_FALSE(progressTimerHides("", false));
    EXPECT_FALSE(progressTimerHides("37.5%", true));
}

TEST(Tags, NumbersAreTruncatedTowardZero) {
    EXPECT_EQ(tagNumber("2"), 2);
    EXPECT_EQ(tagNumber(" 12"), 12);
    EXPECT_EQ(tagNumber("2.9"), 2);
    EXPECT_EQ(tagNumber("-1.5"), -1);
    EXPECT_EQ(tagNumber(""), 0);
    EXPECT_EQ(tagNumber("abc"), 0);
    EXPECT_EQ(tagNumber("nan"), 0);
    EXPECT_EQ(tagNumber("1e300"), 0);
    EXPECT_EQ(browserTag(3), "3");
    EXPECT_EQ(closeButtonTag(3), "2");
}

TEST(Urls, BlankAddressesAreNeverShown) {
    EXPECT_TRUE(isBlankUrl(""));
    EXPECT_TRUE(isBlankUrl("about:blank"));
    EXPECT_TRUE(isBlankUrl("http:///"));
    EXPECT_FALSE(isBlankUrl("http://127.0.0.1/"));
}

TEST(Placement, BrowserCoversThePageArea) {
    Area control{4, 83, 664, 280};
    EXPECT_EQ(tabBrowserArea(0, control, 660, 250, 20), (Area{4, 83 + 20 + 3, 662, 251}));
    EXPECT_EQ(tabBrowserArea(1, control, 660, 250, 20), (Area{4, 83, 662, 251}));
    EXPECT_EQ(tabBrowserArea(2, control, 660, 250, 20), std::nullopt);
    EXPECT_EQ(tabBrowserArea(3, control, 660, 250, 20), std::nullopt);
}

TEST(Placement, ButtonsSitOnTheHeaders) {
    Area control{4, 83, 664, 280};
    // Header 1..121 at the top of the control, 20 high; button 16 x 16.
    EXPECT_EQ(closeButtonPlace(control, {1, 2, 120, 20}, 16, 16), (Point{4 + 1 + 120 - 16, 83 + 2 + 10 - 8}));
    // 21 high: 83 + 2 + 10.5 - 8 = 87.5 is cut to 87.
    EXPECT_EQ(closeButtonPlace(control, {1, 2, 120, 21}, 16, 16).top, 87);
    EXPECT_EQ(newTabButtonPlace(control, {121, 2, 120, 20}, 14), (Point{4 + 121 + 120 + 5, 83 + 2 + 10 - 7}));
}

TEST(Placement, StatusWindowAlongTheBottomOfTheBrowserArea) {
    StatusPlacementInput in;
    in.mainWindow = {100, 50, 1030, 750};
    in.clientWidth = 1030;
    in.statusHeight = 16;
    in.tabControlHeight = 280;
    in.pageAreaHeight = 256;
    in.marginLeft = in.marginRight = in.marginBottom = 3;
    in.headerPosition = 0;
    EXPECT_EQ(statusWindowPlacement(in), (Area{105, 50 + 750 - 3 - 16 - 1, 1030 - 26, 16}));
    in.headerPosition = 1;
    EXPECT_EQ(statusWindowPlacement(in), (Area{105, 50 + 750 - 16 - 24 - 3, 1004, 16}));
    in.headerPosition = 2;
    EXPECT_EQ(statusWindowPlacement(in), std::nullopt);
}

TEST(Closing, OnlyTabCyclesBetweenTheEngines) {
    std::string a = listing::kSearchEngineAHome, b = listing::kSearchEngineBHome;
    EXPECT_EQ(a.rfind("https://", 0), 0u);
    EXPECT_EQ(b.rfind("https://", 0), 0u);
    EXPECT_EQ(a.substr(a.find('/', 8)), "/webhp?hl=zh-CN");
    EXPECT_EQ(b.substr(b.find('/', 8)), "/");
    EXPECT_EQ(onlyTabTarget(listing::kBaseUrl), a);
    EXPECT_EQ(onlyTabTarget(a), b);
    EXPECT_EQ(onlyTabTarget(b), a);
    EXPECT_EQ(onlyTabTarget(a + "&x=1"), a);  // only the exact URL counts
    EXPECT_EQ(onlyTabTarget("HTTPS://www.google.com/webhp?hl=zh-CN"), a);
    // Engine A's home redirected elsewhere is still engine A's home.
    EXPECT_EQ(onlyTabTarget("https://www.google.com/?gws_rd=ssl", a), b);
    // A page reached from there by the user is not.
    EXPECT_EQ(onlyTabTarget("https://www.google.com/search?q=x", "https://www.google.com/search?q=x"), a);
    EXPECT_EQ(onlyTabTarget(b, b), a);
}

TEST(Closing, TheLastPageHandsTheSelectionToThePreviousOne) {
    EXPECT_EQ(pageToSelectBeforeClosing(3, 2), 1);
    EXPECT_EQ(pageToSelectBeforeClosing(3, 1), std::nullopt);
    EXPECT_EQ(pageToSelectBeforeClosing(1, 0), std::nullopt);
    EXPECT_FALSE(closeCurrentTabButtonShown(1));
    EXPECT_TRUE(closeCurrentTabButtonShown(2));
}

}  // namespace
