// Tab control rules without a display: layout in the four positions, rows,
// selection and its notifications, page removal, scrolling, hot tracking
// and clicks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/page_control/model.h"

namespace widgets::page_control {
namespace {

// Captions measure 6 pixels per byte, so "" and short captions get the
// 50-pixel minimum and a caption of n bytes gets max(6n + 11, 50).
class FakeHost : public Host {
public:
    std::vector<std::pair<int, int>> log;  // (code, index)
    std::function<int(int, int)> reply;

    int notify(int code, int index) override {
        log.push_back({code, index});
        return reply ? reply(code, index) : 0;
    }
    void invalidate() override {}
    int measureContent(const Page& p) override { return static_cast<int>(p.data.caption.size()) * 6; }
};

using Log = std::vector<std::pair<int, int>>;

struct Fixture {
    FakeHost host;
    Model model{host};

    Fixture(int w, int h, int position, std::vector<std::string> captions, bool multiRow = false) {
        model.setSize(w, h);
        model.setPosition(position);
        model.setMultiRow(multiRow);
        std::vector<PageControlPage> pages;
        for (auto& c : captions) pages.push_back(PageControlPage{.caption = c});
        model.setPages(pages, false);
        host.log.clear();
    }
};

// A caption whose header is exactly `w` pixels wide (w >= 50, w - 11 a multiple of 6).
std::string captionFor(int w) { return std::string(static_cast<size_t>((w - 11) / 6), 'x'); }

TEST(PageControlLayout, FourPositionsPlaceHeadersAndAreas) {
    struct Case {
        int position;
        Box header1, headerArea, pageArea, selected0;
    };
    const int W = 300, H = 200;
    const Case cases[] = {
        {0, {51, 2, 101, 22}, {0, 2, W, 22}, {0, 22, W, H}, {-1, 0, 55, 22}},
        {1, {51, H - 22, 101, H - 2}, {0, H - 22, W, H}, {0, 0, W, H - 22}, {-1, H - 22, 55, H}},
        {2, {2, 51, 22, 101}, {2, 0, 22, H}, {22, 0, W, H}, {0, -1, 22, 55}},
        {3, {W - 22, 51, W - 2, 101}, {W - 22, 0, W, H}, {0, 0, W - 22, H}, {W - 22, -1, W, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        Fixture f(W, H, c.position, {"a", "b", "c"});
        EXPECT_EQ(f.model.page(1).header, c.header1);
        EXPECT_EQ(f.model.headerArea(), c.headerArea);
        EXPECT_EQ(f.model.pageArea(), c.pageArea);
        EXPECT_EQ(f.model.selectedRect(), c.selected0);
    }
}

TEST(PageControlLayout, HiddenHeadersGiveThePageTheWholeControl) {
    Fixture f(300, 200, 0, {"a", "b"});
    f.model.setHideHeaders(true);
    EXPECT_EQ(f.model.side(), Side::kNone);
    EXPECT_EQ(f.model.pageArea(), (Box{0, 0, 300, 200}));
    EXPECT_TRUE(f.model.page(0).header.empty());
    EXPECT_TRUE(f.model.headerRectOrArea(-1).empty());
    // Selection still works without headers.
    EXPECT_TRUE(f.model.select(1, true));
    EXPECT_EQ(f.model.current(), 1);
}

TEST(PageControlLayout, WidthRules) {
    Fixture f(400, 100, 0, {"", captionFor(101)});
    EXPECT_EQ(f.model.page(0).header.width(), 50);
    EXPECT_EQ(f.model.page(1).header.width(), 101);
    // A header never gets longer than the strip (width - 3).
    Fixture narrow(60, 100, 0, {captionFor(101)});
    EXPECT_EQ(narrow.model.page(0).header.width(), 57);
    // The sloped shape has its own rule: content + height * 3 / 4 + 5, at least 25.
    f.model.setSloped(true);
    EXPECT_EQ(f.model.page(0).header.width(), 25);
    EXPECT_EQ(f.model.page(1).header.width(), 90 + 15 + 5);
}

TEST(PageControlLayout, HeaderHeightIsAtLeastTheFontHeight) {
    Fixture f(300, 200, 0, {"a"});
    f.model.setHeaderHeight(20);
    f.model.setFontHeight(13);
    EXPECT_EQ(f.model.effectiveHeaderHeight(), 20);
    f.model.setFontHeight(26);
    EXPECT_EQ(f.model.effectiveHeaderHeight(), 26);
    EXPECT_EQ(f.model.pageArea().top, 28);
}

// Strip 200 long (width 203), headers 80 wide: rows [0 1] [2 3] [4].
TEST(PageControlRows, RowsStretchAndTheCurrentRowLiesNextToThePage) {
    std::string c = captionFor(83);  // 6 * 12 + 11 = 83
    Fixture f(203, 300, 0, {c, c, c, c, c}, true);
    ASSERT_EQ(f.model.rows().size(), 3u);
    // The current page's row was moved next to the page area.
    EXPECT_EQ(f.model.rows().back().pages, (std::vector<int>{0, 1}));
    EXPECT_EQ(f.model.page(0).header, (Box{1, 42, 101, 62}));
    EXPECT_EQ(f.model.page(1).header, (Box{101, 42, 201, 62}));
    // A lone header gets the whole strip.
    EXPECT_EQ(f.model.page(4).header.width(), 200);
    EXPECT_EQ(f.model.pageArea().top, 62);

    EXPECT_TRUE(f.model.select(2, true));
    EXPECT_EQ(f.model.page(2).header.top, 42);
    EXPECT_EQ(f.model.page(0).header.top, 22);  // took the place row [2 3] had
    // A relayout (caption change) keeps the current row where it is.
    f.model.setCaption(4, "y");
    EXPECT_EQ(f.model.page(2).header.top, 42);
}

TEST(PageControlRows, MultiRowCannotBeTurnedOffForSideHeaders) {
    Fixture f(300, 200, 2, {"a"});
    EXPECT_FALSE(f.model.setMultiRow(false));
    EXPECT_TRUE(f.model.multiRow());
    f.model.setPosition(0);
    EXPECT_TRUE(f.model.setMultiRow(false));
    EXPECT_FALSE(f.model.multiRow());
}

TEST(PageControlSelection, NotificationsAndVeto) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    EXPECT_TRUE(f.model.select(0, true));
    EXPECT_EQ(f.host.log, Log{});

    EXPECT_TRUE(f.model.select(2, true));
    EXPECT_EQ(f.host.log, (Log{{code::kChanging, 2}, {code::kChanged, 2}}));

    f.host.log.clear();
    f.host.reply = [](int code, int) { return code == code::kChanging ? 1 : 0; };
    EXPECT_FALSE(f.model.select(1, true));
    EXPECT_EQ(f.model.current(), 2);
    EXPECT_EQ(f.host.log, (Log{{code::kChanging, 1}}));
}

TEST(PageControlSelection, UnselectablePagesKeepTheCurrentOne) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    std::vector<PageControlPage> pages = f.model.pagesData();
    pages[1].enabled = false;
    pages[2].visible = false;
    f.model.setPages(pages, false);
    f.host.log.clear();
    EXPECT_FALSE(f.model.select(1, true));
    EXPECT_FALSE(f.model.select(2, true));
    EXPECT_FALSE(f.model.select(7, true));
    EXPECT_EQ(f.model.current(), 0);
    EXPECT_EQ(f.host.log, Log{});
    f.model.setSelectDisabled(true);
    EXPECT_TRUE(f.model.select(1, true));
}

TEST(PageControlPages, RemovalRules) {
    Fixture one(300, 200, 0, {"only"});
    EXPECT_FALSE(one.model.removePage(0));
    EXPECT_EQ(one.model.pageCount(), 1);
    EXPECT_FALSE(one.model.removePage(5));

    // The current page that is not the last: its follower takes its index, quietly.
    Fixture f(300, 200, 0, {"a", "b", "c"});
    f.model.select(1, true);
    f.host.log.clear();
    EXPECT_TRUE(f.model.removePage(1));
    EXPECT_EQ(f.model.current(), 1);
    EXPECT_EQ(f.model.page(1).data.caption, "c");
    EXPECT_EQ(f.host.log, Log{});

    // The current page that is the last: the first selectable page, with notifications.
    EXPECT_TRUE(f.model.removePage(1));
    EXPECT_EQ(f.model.current(), 0);
    EXPECT_EQ(f.host.log, (Log{{code::kChanging, 0}, {code::kChanged, 0}}));

    // A page before the current one moves the current index down.
    Fixture g(300, 200, 0, {"a", "b", "c"});
    g.model.select(2, true);
    g.host.log.clear();
    EXPECT_TRUE(g.model.removePage(0));
    EXPECT_EQ(g.model.current(), 1);
    EXPECT_EQ(g.host.log, Log{});
}

TEST(PageControlPages, ARemovedCurrentPageIsReplacedEvenIfTheHandlerObjects) {
    Fixture f(300, 200, 0, {"a", "b"});
    f.model.select(1, true);
    f.host.reply = [](int code, int) { return code == code::kChanging ? 1 : 0; };
    EXPECT_TRUE(f.model.removePage(1));
    EXPECT_EQ(f.model.current(), 0);
}

TEST(PageControlPages, RemoveAllKeepsTheCurrentPage) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    f.model.select(1, true);
    f.host.log.clear();
    EXPECT_TRUE(f.model.removePage(-1));
    ASSERT_EQ(f.model.pageCount(), 1);
    EXPECT_EQ(f.model.page(0).data.caption, "b");
    EXPECT_EQ(f.model.current(), 0);
    EXPECT_FALSE(f.model.removePage(-1));
}

TEST(PageControlPages, AddingKeepsTheSelectionQuietly) {
    Fixture f(300, 200, 0, {"a", "b"});
    f.model.select(1, true);
    f.host.log.clear();
    EXPECT_EQ(f.model.addPage(PageControlPage{.caption = "载入.."}), 2);
    EXPECT_EQ(f.model.current(), 1);
    EXPECT_TRUE(f.model.page(2).data.runTime);
    // Inserting before the current page shifts its index with it.
    EXPECT_EQ(f.model.addPage(PageControlPage{.caption = "x"}, 0), 0);
    EXPECT_EQ(f.model.current(), 2);
    EXPECT_EQ(f.model.page(2).data.caption, "b");
    // An invalid position appends.
    EXPECT_EQ(f.model.addPage(PageControlPage{}, 99), 4);
    EXPECT_EQ(f.host.log, Log{});
}

TEST(PageControlPages, EmptyPageListGetsOnePage) {
    Fixture f(300, 200, 0, {});
    ASSERT_EQ(f.model.pageCount(), 1);
    EXPECT_EQ(f.model.current(), 0);
    EXPECT_FALSE(f.model.page(0).data.runTime);
}

// Width 120: strip 117, five 50-pixel headers; the row holds pages 0-2.
TEST(PageControlScroll, NarrowSingleRowScrollsWithButtons) {
    Fixture f(120, 100, 0, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(f.model.rows().at(0).pages, (std::vector<int>{0, 1, 2}));
    const ScrollButton& left = f.model.scrollButton(0);
    const ScrollButton& right = f.model.scrollButton(1);
    ASSERT_TRUE(left.visible());
    EXPECT_EQ(left.box().left, 120 - 26);
    EXPECT_EQ(right.box().left, 120 - 13);
    EXPECT_EQ(right.box().bottom - right.box().top, 13);
    EXPECT_EQ(left.state(), ButtonState::kDisabled);

    for (int i = 0; i < 6; ++i) f.model.scroll(+1);
    EXPECT_EQ(f.model.firstVisible(), 4);  // stops at the last page
    EXPECT_EQ(right.state(), ButtonState::kDisabled);

    // Page 0 is hidden to the left; selecting it scrolls it to the front.
    f.model.select(0, true);
    EXPECT_EQ(f.model.firstVisible(), 0);
    // Page 2 is placed but covered by the buttons: it also comes to the front.
    f.model.select(2, true);
    EXPECT_EQ(f.model.firstVisible(), 2);
}

TEST(PageControlScroll, ButtonsAtTheBottomAndOnlyForSingleRows) {
    Fixture f(120, 100, 1, {"a", "b", "c", "d"});
    EXPECT_EQ(f.model.scrollButton(0).box().top, 100 - 13);
    Fixture multi(120, 100, 0, {"a", "b", "c", "d"}, true);
    EXPECT_FALSE(multi.model.scrollButton(0).visible());
    Fixture wide(400, 100, 0, {"a", "b"});
    EXPECT_FALSE(wide.model.scrollButton(0).visible());
}

TEST(PageControlScroll, ClickingTheRightButtonScrolls) {
    Fixture f(120, 100, 0, {"a", "b", "c", "d", "e"});
    const ButtonBox b = f.model.scrollButton(1).box();
    f.model.mouseMove(b.left + 5, b.top + 5);
    EXPECT_EQ(f.model.scrollButton(1).state(), ButtonState::kHot);
    f.model.leftPress(b.left + 5, b.top + 5, false);
    EXPECT_EQ(f.model.scrollButton(1).state(), ButtonState::kPressed);
    f.model.leftRelease(b.left + 5, b.top + 5);
    EXPECT_EQ(f.model.firstVisible(), 1);
    // Pressed, dragged off and released elsewhere: no scroll.
    f.model.leftPress(b.left + 5, b.top + 5, false);
    f.model.mouseMove(10, 50);
    f.model.leftRelease(10, 50);
    EXPECT_EQ(f.model.firstVisible(), 1);
    EXPECT_EQ(f.model.tipAt(b.left + 1, b.top + 1), "向右滚动子夹头");
    EXPECT_EQ(f.model.tipAt(f.model.scrollButton(0).box().left, 1), "向左滚动子夹头");
    EXPECT_EQ(f.host.log, Log{});
}

TEST(PageControlScroll, ButtonStateMachine) {
    ScrollButton b;
    b.enter();
    EXPECT_EQ(b.state(), ButtonState::kHot);
    b.press();
    b.leave();
    EXPECT_EQ(b.state(), ButtonState::kNormal);
    EXPECT_FALSE(b.release());
    b.setEnabled(false);
    b.enter();
    b.press();
    EXPECT_EQ(b.state(), ButtonState::kDisabled);
    EXPECT_FALSE(b.release());
    b.setEnabled(true);
    EXPECT_EQ(b.state(), ButtonState::kNormal);
}

TEST(PageControlPointer, HotTrackingAndTheSelectedHeader) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    f.model.mouseMove(60, 10);  // header 1
    EXPECT_EQ(f.host.log, (Log{{code::kEntered, 1}}));
    EXPECT_TRUE(f.model.drawnHot(1));
    f.model.mouseMove(62, 12);  // same header: nothing new
    EXPECT_EQ(f.host.log.size(), 1u);
    f.model.mouseMove(60, 100);  // page area
    EXPECT_EQ(f.model.hot(), -1);

    f.model.setNoHotOnSelected(true);
    f.host.log.clear();
    f.model.mouseMove(10, 10);  // the selected header 0
    EXPECT_EQ(f.host.log, Log{});
    EXPECT_FALSE(f.model.drawnHot(0));
    f.model.setNoHotOnSelected(false);
    f.model.mouseLeave();
    f.model.mouseMove(10, 10);
    EXPECT_EQ(f.host.log, (Log{{code::kEntered, 0}}));
    EXPECT_TRUE(f.model.drawnHot(0));
}

TEST(PageControlPointer, ClicksSelectOnPressAndReportRightRelease) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    f.model.rightRelease(60, 10);
    EXPECT_EQ(f.host.log, (Log{{code::kRightClicked, 1}}));
    EXPECT_EQ(f.model.current(), 0);

    f.host.log.clear();
    f.model.leftPress(110, 10, false);
    EXPECT_EQ(f.host.log, (Log{{code::kClicked, 2}, {code::kChanging, 2}, {code::kChanged, 2}}));
    EXPECT_EQ(f.model.current(), 2);

    f.host.log.clear();
    f.model.leftPress(60, 10, true);    // second press of a double click
    f.model.leftPress(60, 100, false);  // page area
    EXPECT_EQ(f.host.log, Log{});
    EXPECT_EQ(f.model.current(), 2);
}

// A click without a pointer (assistive technology) runs the same rule as a
// press on the header, and refuses what the pointer could not select.
TEST(PageControlPointer, AClickOnAPageIsAPressOnItsHeader) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    EXPECT_TRUE(f.model.clickPage(1));
    EXPECT_EQ(f.host.log, (Log{{code::kClicked, 1}, {code::kChanging, 1}, {code::kChanged, 1}}));
    EXPECT_EQ(f.model.current(), 1);
    f.host.log.clear();
    EXPECT_TRUE(f.model.clickPage(1));  // the current page: clicked, not changed
    EXPECT_EQ(f.host.log, (Log{{code::kClicked, 1}}));
    f.host.log.clear();
    EXPECT_FALSE(f.model.clickPage(3));
    EXPECT_FALSE(f.model.clickPage(-1));
    EXPECT_EQ(f.host.log, Log{});
    f.host.reply = [&](int code, int index) { return code == code::kChanging && index == 2 ? 1 : 0; };
    EXPECT_TRUE(f.model.clickPage(2));  // vetoed by the changing handler
    EXPECT_EQ(f.model.current(), 1);
}

TEST(PageControlPointer, AHandlerMayRemoveThePageItWasToldAbout) {
    Fixture f(300, 200, 0, {"a", "b", "c"});
    f.host.reply = [&](int code, int index) {
        if (code == code::kRightClicked || code == code::kClicked) f.model.removePage(index);
        return 0;
    };
    f.model.rightRelease(110, 10);
    EXPECT_EQ(f.model.pageCount(), 2);
    f.model.leftPress(60, 10, false);  // header 1 is removed by the clicked handler
    EXPECT_EQ(f.model.pageCount(), 1);
    EXPECT_EQ(f.model.current(), 0);
}

TEST(PageControlPointer, TipsFollowTheHeaderUnderThePointer) {
    Fixture f(300, 200, 0, {"a", "b"});
    f.model.setTip(1, "完整标题");
    EXPECT_EQ(f.model.tipAt(60, 10), "完整标题");
    EXPECT_EQ(f.model.tipAt(10, 10), "");
    EXPECT_EQ(f.model.tipAt(60, 100), "");
    EXPECT_FALSE(f.model.setTip(2, "x"));
}

}  // namespace
}  // namespace widgets::page_control
