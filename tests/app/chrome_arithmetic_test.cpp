// The window chrome's arithmetic: work area, resize zones, layout, title-bar
// buttons, border lines and window shape, without a display.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "app/chrome_layout.h"
#include "app/resize_zones.h"
#include "app/work_area.h"

namespace {

TEST(WorkArea, UsableRectangleWidenedByTheBorder) {
    const runtime::Rect screen{0, 0, 1920, 1080};
    struct Row {
        const char* name;
        runtime::Rect usable;
        runtime::Rect expected;
    } rows[] = {
        // One taskbar along one edge: the same as the taskbar rule.
        {"bottom taskbar 40 high", {0, 0, 1920, 1040}, {-3, -3, 1927, 1047}},
        {"left taskbar 60 wide", {60, 0, 1860, 1080}, {57, -3, 1867, 1087}},
        {"top bar 30 high", {0, 30, 1920, 1050}, {-3, 27, 1927, 1057}},
        {"right taskbar 50 wide", {0, 0, 1870, 1080}, {-3, -3, 1877, 1087}},
        // Panels on two sides both stay free: a 24-pixel top bar and a
        // 40-pixel bottom dock.
        {"top bar and bottom dock", {0, 24, 1920, 1016}, {-3, 21, 1927, 1023}},
        {"left dock and top bar", {48, 28, 1872, 1052}, {45, 25, 1879, 1059}},
        {"no panel", {0, 0, 1920, 1080}, {-3, -3, 1927, 1087}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(app::workAreaFromUsable(screen, r.usable, 3), r.expected);
    }
}

TEST(WorkArea, SecondMonitorAndNonsenseFromTheDesktop) {
    // A monitor to the right of a 1920-wide one, with a bottom panel.
    const runtime::Rect second{1920, 0, 1280, 1024};
    EXPECT_EQ(app::workAreaFromUsable(second, {1920, 0, 1280, 992}, 3), (runtime::Rect{1917, -3, 1287, 999}));
    // A usable area reaching past the monitor counts only on the monitor.
    EXPECT_EQ(app::workAreaFromUsable(second, {0, 0, 3200, 992}, 3), (runtime::Rect{1917, -3, 1287, 999}));
    // Empty or off the monitor: the whole monitor.
    const runtime::Rect whole{1917, -3, 1287, 1031};
    EXPECT_EQ(app::workAreaFromUsable(second, {0, 0, 0, 0}, 3), whole);
    EXPECT_EQ(app::workAreaFromUsable(second, {0, 0, 1920, 1080}, 3), whole);
    EXPECT_EQ(app::workAreaFromUsable(second, {1920, 0, -5, 1024}, 3), whole);
}

TEST(WorkArea, PutBackLeavesTheProgramsOwnStepsAlone) {
    const runtime::Rect area{-3, 21, 1287, 967};
    const int W = 1287, H = 967;
    struct Row {
        const char* name;
        runtime::Rect reported;
        app::PlacingState state;
        bool putBack;
    } rows[] = {
        {"dragged off the work area", {200, 150, W, H}, {}, true},
        {"placed at the screen corner on map", {0, 0, W, H}, {}, true},
        {"on the work area", area, {}, false},
        {"another size", {200, 150, 1030, 750}, {}, false},
        {"one pixel off in size", {200, 150, W, H - 1}, {}, false},
        {"the program's own placing", {200, 150, W, H}, {true, true, false}, false},
        // A restore's move arrives before its new size.
        {"restore still on its way", {50, 21, W, H}, {false, false, true}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(app::needsPutBack(r.reported, area, W, H, r.state), r.putBack);
    }
}

TEST(WorkArea, ARestoreEndsAtTheFirstOtherSizeReportedAfterItsPlacing) {
    const int W = 1287, H = 967;
    app::PlacingState s{false, true, true};
    // The program's own steps, one property at a time, do not end it.
    app::noteReported(s, {-3, 21, 1030, H}, W, H);
    EXPECT_TRUE(s.restoring);
    s.placing = false;
    // The window manager's late answers: first the move with the old size.
    app::noteReported(s, {50, 21, W, H}, W, H);
    EXPECT_TRUE(s.restoring);
    EXPECT_FALSE(app::needsPutBack({50, 21, W, H}, {-3, 21, W, H}, W, H, s));
    app::noteReported(s, {50, 50, 1030, 750}, W, H);
    EXPECT_FALSE(s.restoring);
    // From then on a normal window of exactly the maximised size that moves
    // passes for a moved maximised one again.
    EXPECT_TRUE(app::needsPutBack({60, 50, W, H}, {-3, 21, W, H}, W, H, s));
}

TEST(ResizeZones, GripReachesSixPixelsInFromEachEdge) {
    const int W = 1030, H = 750;
    EXPECT_EQ(app::resizeZoneAt(W - 6, 300, W, H), app::kZoneRight);
    EXPECT_EQ(app::resizeZoneAt(W - 7, 300, W, H), app::kZoneNone);
    EXPECT_EQ(app::resizeZoneAt(6, 300, W, H), app::kZoneLeft);
    EXPECT_EQ(app::resizeZoneAt(7, 300, W, H), app::kZoneNone);
    EXPECT_EQ(app::resizeZoneAt(500, 6, W, H), app::kZoneTop);
    EXPECT_EQ(app::resizeZoneAt(500, 7, W, H), app::kZoneNone);
    EXPECT_EQ(app::resizeZoneAt(500, H - 6, W, H), app::kZoneBottom);
    EXPECT_EQ(app::resizeZoneAt(500, H - 7, W, H), app::kZoneNone);
}

TEST(ResizeZones, CornersAndCursors) {
    const int W = 400, H = 300;
    struct Row {
        int x, y, zone, cursor;
    } rows[] = {
        {0, 0, 1, runtime::cursor::kSizeNwse},
        {200, 0, 2, runtime::cursor::kSizeNs},
        {W - 1, 0, 3, runtime::cursor::kSizeNesw},
        {W - 1, 150, 4, runtime::cursor::kSizeWe},
        {W - 1, H - 1, 5, runtime::cursor::kSizeNwse},
        {200, H - 1, 6, runtime::cursor::kSizeNs},
        {0, H - 1, 7, runtime::cursor::kSizeNesw},
        {0, 150, 8, runtime::cursor::kSizeWe},
        {200, 150, 0, runtime::cursor::kArrow},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        const int zone = app::resizeZoneAt(r.x, r.y, W, H);
        EXPECT_EQ(zone, r.zone);
        EXPECT_EQ(app::zoneCursor(zone), r.cursor);
        EXPECT_EQ(app::zoneStartsResize(zone), r.zone != 0);
    }
    EXPECT_FALSE(app::zoneStartsResize(9));
    EXPECT_EQ(app::zoneCursor(-1), runtime::cursor::kArrow);
}

app::LayoutInput designInput(int width, int height) {
    app::LayoutInput in;
    in.width = width;
    in.height = height;
    in.marginLeft = in.marginTop = in.marginRight = in.marginBottom = 3;
    in.titleHeight = 20;
    in.toolbarHeight = 60;
    in.back = {4, 24};
    in.forward = {33, 24};
    in.refresh = {91, 24};
    in.refreshWidth = 27;
    in.leftCapWidth = in.rightCapWidth = 13;
    in.goWidth = 48;
    in.addressTop = 28;
    in.progressWidth = 42;
    return in;
}

TEST(Layout, DesignSizeAddressRow) {
    const app::Layout l = app::layOut(designInput(1030, 750));
    EXPECT_EQ(l.leftCap.left, 121);
    EXPECT_EQ(l.middle.left, 134);
    EXPECT_EQ(l.middle.width, 825);
    EXPECT_EQ(l.rightCap.left, 959);
    EXPECT_EQ(l.addressLeft, 127);
    EXPECT_EQ(l.addressWidth, 839);
    EXPECT_EQ(l.goLeft, 974);
    EXPECT_EQ(l.leftCap.top, 24);
    EXPECT_EQ(l.rightCap.top, 24);
    EXPECT_EQ(l.progress.left, 127 + 839 - 42 - 3);
    EXPECT_EQ(l.progress.top, 32);
}

TEST(Layout, FramesFollowTheWindowSize) {
    const app::Layout l = app::layOut(designInput(1287, 1031));
    EXPECT_EQ(l.borderPanel.width, 1287);
    EXPECT_EQ(l.borderPanel.height, 1031);
    EXPECT_EQ(l.title.left, 3);
    EXPECT_EQ(l.title.top, 3);
    EXPECT_EQ(l.title.width, 1281);
    EXPECT_EQ(l.toolbar.top, 23);
    EXPECT_EQ(l.toolbar.width, 1280);
    EXPECT_EQ(l.tabControl.top, 83);
    EXPECT_EQ(l.tabControl.width, 1280);
    EXPECT_EQ(l.tabControl.height, 1031 - 3 - 3 - 20 - 60 - 1);
    // The go button keeps a fixed distance from the right edge.
    EXPECT_EQ(1287 - l.goLeft, 1030 - 974);
    // The stand-ins lie exactly over the buttons they replace.
    EXPECT_EQ(l.backDisabled.left, 4);
    EXPECT_EQ(l.forwardDisabled.left, 33);
    EXPECT_EQ(l.stop.left, 91);
    EXPECT_EQ(l.stop.top, 24);
}

app::TitleBarInput titleBar(int tabs, bool maximised) {
    app::TitleBarInput in;
    in.width = 1030;
    in.marginRight = 3;
    in.tabCount = tabs;
    in.closeTabWidth = 25;
    in.quitWidth = 42;
    in.maximiseWidth = 25;
    in.minimiseWidth = 26;
    in.maximiseTop = 3;
    in.maximised = maximised;
    return in;
}

TEST(TitleBar, OneTabPutsQuitAtTheEdge) {
    const app::TitleBar t = app::placeTitleBar(titleBar(1, false));
    EXPECT_FALSE(t.closeTabVisible);
    EXPECT_EQ(1030 - (t.quitLeft + 42), 3);
    EXPECT_EQ(t.maximiseLeft, t.quitLeft - 25);
    EXPECT_EQ(t.minimiseLeft, t.maximiseLeft - 26);
    EXPECT_EQ(t.restore.left, t.maximiseLeft);
    EXPECT_EQ(t.restore.top, 3);
    EXPECT_TRUE(t.maximiseVisible);
    EXPECT_FALSE(t.restoreVisible);
}

TEST(TitleBar, MoreTabsPutCloseTabAtTheEdge) {
    for (int tabs : {2, 7}) {
        const app::TitleBar t = app::placeTitleBar(titleBar(tabs, true));
        EXPECT_TRUE(t.closeTabVisible);
        EXPECT_EQ(1030 - (t.closeTabLeft + 25), 3);
        EXPECT_EQ(t.closeTabLeft - (t.quitLeft + 42), 3);
        EXPECT_EQ(t.maximiseLeft, t.quitLeft - 25);
        EXPECT_TRUE(t.restoreVisible);
        EXPECT_FALSE(t.maximiseVisible);
    }
}

TEST(Border, ThreeFramesInsideTheLastColumnAndRow) {
    const auto lines = app::borderLines(100, 50);
    ASSERT_EQ(lines.size(), 12u);
    // Outermost frame: top, bottom, left, right.
    EXPECT_EQ(lines[0].colour, runtime::rgb(46, 79, 140));
    EXPECT_EQ((std::vector<int>{lines[0].x1, lines[0].y1, lines[0].x2, lines[0].y2}), (std::vector<int>{0, 0, 100, 0}));
    EXPECT_EQ(
        (std::vector<int>{lines[1].x1, lines[1].y1, lines[1].x2, lines[1].y2}), (std::vector<int>{0, 48, 100, 48}));
    EXPECT_EQ((std::vector<int>{lines[2].x1, lines[2].y1, lines[2].x2, lines[2].y2}), (std::vector<int>{0, 1, 0, 50}));
    EXPECT_EQ(
        (std::vector<int>{lines[3].x1, lines[3].y1, lines[3].x2, lines[3].y2}), (std::vector<int>{98, 0, 98, 49}));
    // Innermost frame.
    EXPECT_EQ(lines[8].colour, runtime::rgb(66, 113, 201));
    EXPECT_EQ(
        (std::vector<int>{lines[11].x1, lines[11].y1, lines[11].x2, lines[11].y2}), (std::vector<int>{96, 2, 96, 47}));
    EXPECT_EQ(lines[4].colour, runtime::rgb(59, 101, 181));
}

TEST(Shape, RoundedCornersAndTheLastColumnAndRowLeftOut) {
    const auto rows = app::roundedShapeRows(100, 50, 5, 5);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(
        (std::vector<int>{rows[0].left, rows[0].top, rows[0].width, rows[0].height}), (std::vector<int>{1, 0, 97, 1}));
    EXPECT_EQ(
        (std::vector<int>{rows[1].left, rows[1].top, rows[1].width, rows[1].height}), (std::vector<int>{0, 1, 99, 47}));
    EXPECT_EQ(
        (std::vector<int>{rows[2].left, rows[2].top, rows[2].width, rows[2].height}), (std::vector<int>{1, 48, 97, 1}));
    // The outermost frame is the shape's edge: its right column and bottom
    // row are the last ones the shape keeps.
    const auto lines = app::borderLines(100, 50);
    EXPECT_EQ(lines[3].x1, rows[1].left + rows[1].width - 1);
    EXPECT_EQ(lines[1].y1, rows[2].top);
    EXPECT_TRUE(app::roundedShapeRows(1, 50, 5, 5).empty());
    EXPECT_TRUE(app::roundedShapeRows(0, 0, 5, 5).empty());
    EXPECT_EQ(app::roundedShapeRows(3, 3, 5, 5).size(), 1u) << "tiny windows keep a shape";
}

}  // namespace
