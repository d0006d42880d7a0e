// Caption fitting, progress text, tags, placements and closing rules: the
// tab arithmetic that needs no display.
#include <glib.h>
#include <gtest/gtest.h>

#include "program/listing_site.h"
#include "runtime/gbk.h"
#include "tabs/tab_rules.h"
#include "widgets/page_control/model.h"

namespace {

using namespace tabs;

size_t gbkLength(const std::string& s) { return runtime::gbk::byteLength(s); }

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

TEST(FitCaptions, HalvesOnlyWhenTheHeadersNoLongerFitAndNeverBelowOneCharacter) {
    // 664 wide, headers 120: 664 - 120 - 120 * 4 = 64 -> room left.
    EXPECT_EQ(shrunkCaptionLength(120, 664, 4, 16), std::nullopt);
    // Exactly full still counts as room.
    EXPECT_EQ(shrunkCaptionLength(100, 600, 5, 16), std::nullopt);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 16), 8);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 8), 4);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 4), 2);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 5), 2);
    // Two bytes hold one Chinese character; one byte would hold none.
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 3), std::nullopt);
    EXPECT_EQ(shrunkCaptionLength(120, 664, 5, 2), std::nullopt);
    EXPECT_EQ(FitText("传奇私服", 2), "传 ");
}

TEST(FitCaptions, GrowBackByDoublingUpToSixteen) {
    EXPECT_EQ(grownCaptionLength(2), 4);
    EXPECT_EQ(grownCaptionLength(4), 8);
    EXPECT_EQ(grownCaptionLength(8), 16);
    EXPECT_EQ(grownCaptionLength(5), 10);
    EXPECT_EQ(grownCaptionLength(10), 16);
    EXPECT_EQ(grownCaptionLength(16), std::nullopt);
    EXPECT_EQ(grownCaptionLength(0), 2);
    // Shrinking and growing use the same test of room.
    EXPECT_TRUE(roomForAnotherHeader(100, 600, 5));
    EXPECT_FALSE(roomForAnotherHeader(100, 600, 6));
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

TEST(Tags, CloseButtonsAreNamedAfterTheirCaptionWithoutItsPadding) {
    EXPECT_EQ(closeButtonName("新开服务器一览     "), "关闭标签 新开服务器一览");
    EXPECT_EQ(closeButtonName(FitText("搜索结果：合击", 16)), "关闭标签 搜索结果：合击");
    EXPECT_EQ(closeButtonName(""), "关闭标签 ");
}

TEST(Urls, BlankAddressesAreNeverShown) {
    EXPECT_TRUE(isBlankUrl(""));
    EXPECT_TRUE(isBlankUrl("about:blank"));
    EXPECT_TRUE(isBlankUrl("http:///"));
    EXPECT_FALSE(isBlankUrl("http://127.0.0.1/"));
}

TEST(Placement, BrowserCoversThePageAreaBesideTheHeaders) {
    Area control{4, 83, 664, 280};
    // One row of 20 on top: page area (inside the frame) from 23 down.
    EXPECT_EQ(tabBrowserArea(0, control, {1, 23, 662, 255}), (Area{4, 83 + 20 + 3, 664, 256}));
    // Headers at the bottom: the page area starts at the control's top.
    EXPECT_EQ(tabBrowserArea(1, control, {1, 1, 662, 255}), (Area{4, 83, 664, 256}));
    // Three rows on top push the browser down by two more rows.
    EXPECT_EQ(tabBrowserArea(0, control, {1, 63, 662, 215}), (Area{4, 83 + 63, 664, 216}));
    EXPECT_EQ(tabBrowserArea(2, control, {43, 1, 619, 278}), (Area{4 + 43, 83, 620, 280}));
    EXPECT_EQ(tabBrowserArea(3, control, {1, 1, 619, 278}), (Area{4, 83, 620, 280}));
}

// The browser placed from what the tab control reports never lies over a
// header, whatever the side and however many rows the headers take.
TEST(Placement, BrowserLeavesEveryRowOfHeadersFree) {
    struct Host : widgets::page_control::Host {
        int notify(int, int) override { return 0; }
        void invalidate() override {}
        int measureContent(const widgets::page_control::Page& p) override {
            return static_cast<int>(p.data.caption.size()) * 7;
        }
    } host;
    auto overlaps = [](Area a, Area b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    for (int position = 0; position < 4; ++position)
        for (int tabs = 1; tabs <= 12; tabs += 4)
            for (int width : {664, 1914}) {
                SCOPED_TRACE(testing::Message() << "position " << position << ", " << tabs << " tabs, " << width);
                widgets::page_control::Model m(host);
                m.setSize(width, 600);
                m.setPosition(position);
                std::vector<widgets::PageControlPage> pages(static_cast<size_t>(tabs));
                for (auto& p : pages) p.caption = std::string(static_cast<size_t>(width / 7 / 3), 'x');
                m.setPages(pages, false);
                m.select(tabs / 2, true);
                const auto& a = m.pageArea();
                Area inside{a.left + 1, a.top + 1, a.width() - 2, a.height() - 2};
                Area control{4, 83, width, 600};
                Area browser = tabBrowserArea(position, control, inside);
                EXPECT_GE(browser.left, control.left);
                EXPECT_GE(browser.top, control.top);
                EXPECT_LE(browser.left + browser.width, control.left + width);
                EXPECT_LE(browser.top + browser.height, control.top + 600);
                EXPECT_GT(browser.width * browser.height, 0);
                for (int i = 0; i < tabs; ++i) {
                    const auto& h = m.page(i).header;
                    Area header{control.left + h.left, control.top + h.top, h.width(), h.height()};
                    EXPECT_FALSE(overlaps(browser, header)) << "header " << i;
                }
                const auto& s = m.selectedRect();
                EXPECT_FALSE(overlaps(browser, {control.left + s.left, control.top + s.top, s.width(), s.height()}));
            }
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
    std::string a = program::listing::kSearchEngineAHome, b = program::listing::kSearchEngineBHome;
    EXPECT_EQ(a.rfind("https://", 0), 0u);
    EXPECT_EQ(b.rfind("https://", 0), 0u);
    EXPECT_EQ(a.substr(a.find('/', 8)), "/webhp?hl=zh-CN");
    EXPECT_EQ(b.substr(b.find('/', 8)), "/");
    EXPECT_EQ(onlyTabTarget(program::listing::kBaseUrl), a);
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

TEST(Closing, TheUsersPlaceIsKept) {
    struct Case {
        int pages, current, closed, shown;
    };
    for (Case c : {Case{3, 1, 0, 0},              // a tab left of the shown one: same tab, one place left
             Case{3, 0, 2, 0},                    // a tab right of it: nothing moves
             Case{3, 2, 0, 1}, Case{3, 1, 1, 1},  // the shown tab: its right neighbour takes its place
             Case{3, 0, 0, 0}, Case{3, 2, 2, 1},  // the shown tab was the last: the previous one
             Case{2, 1, 1, 0}, Case{2, 0, 1, 0}, Case{2, 1, 0, 0}})
        EXPECT_EQ(pageAfterClosing(c.pages, c.current, c.closed), c.shown)
            << c.pages << " pages, " << c.current << " shown, " << c.closed << " closed";
    EXPECT_FALSE(closeCurrentTabButtonShown(1));
    EXPECT_TRUE(closeCurrentTabButtonShown(2));
}

TEST(Closing, CloseButtonsHideWithTheirHeaders) {
    // Several rows: every header has its place, all buttons show.
    EXPECT_EQ(closeButtonsOnView({{1, 2, 330, 20}, {331, 2, 331, 20}, {1, 22, 661, 20}}, 664),
        (std::vector<bool>{true, true, true}));
    // One row scrolled by one: the first header is out of view, the scroll
    // buttons take the last 26 pixels, and the header crossing the end or
    // reaching under them hides its button.
    EXPECT_EQ(closeButtonsOnView({{0, 0, 0, 0}, {1, 2, 300, 20}, {301, 2, 337, 20}, {638, 2, 300, 20}}, 664),
        (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(closeButtonsOnView({{1, 2, 300, 20}, {301, 2, 338, 20}, {639, 2, 300, 20}}, 664),
        (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(closeButtonsOnView({}, 664).empty());

    EXPECT_TRUE(newTabButtonFits({1, 2, 120, 20}, 126, 14, 664));
    EXPECT_TRUE(newTabButtonFits({1, 2, 640, 20}, 646, 14, 664));
    EXPECT_FALSE(newTabButtonFits({1, 2, 645, 20}, 651, 14, 664));
    EXPECT_FALSE(newTabButtonFits({0, 0, 0, 0}, 5, 14, 664));
}

}  // namespace
