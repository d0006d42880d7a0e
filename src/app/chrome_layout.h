// Where the main window's components go for a given window size, where the
// title-bar buttons stand, the lines of the painted border and the rows of
// the rounded window shape. Plain arithmetic, no display needed; the chrome
// handlers read the inputs from the components and write the results back.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/colour.h"

namespace app {

inline constexpr int kMinimumWidth = 320;
inline constexpr int kMinimumHeight = 240;

struct Place {
    int left = 0, top = 0;
};
struct Span {
    int left = 0, top = 0, width = 0;
};
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
};

// What the layout reads from the window and the components that keep their
// own places (the toolbar buttons) or sizes (pictures, labels).
struct LayoutInput {
    int width = 0, height = 0;  // main window client area
    int marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    int titleHeight = 0, toolbarHeight = 0;
    Place back, forward, refresh;
    int refreshWidth = 0;
    int leftCapWidth = 0, rightCapWidth = 0, goWidth = 0;
    int addressTop = 0;     // the address box keeps its top
    int progressWidth = 0;  // load-progress label
};

// What the layout writes; each field is one step's result, and a component
// not named here keeps what it has.
struct Layout {
    Box borderPanel;
    Span title, toolbar;
    Box tabControl;
    Place backDisabled, forwardDisabled, stop;
    Place leftCap;
    Span middle;
    Place rightCap;
    int addressLeft = 0, addressWidth = 0;
    int goLeft = 0;
    Place progress;
};

// Layout steps 1 to 12. All inputs are whole pixels, so no step produces a
// fraction to cut off.
Layout layOut(const LayoutInput& in);

// The title-bar buttons, right to left: close-current-tab (only with more
// than one tab), quit, maximise or restore in one place, minimise.
struct TitleBarInput {
    int width = 0, marginRight = 0;
    int tabCount = 0;
    int closeTabWidth = 0, quitWidth = 0, maximiseWidth = 0, minimiseWidth = 0;
    int maximiseTop = 0;
    bool maximised = false;
};

struct TitleBar {
    bool closeTabVisible = false;
    int closeTabLeft = 0;  // meaningful only when visible
    int quitLeft = 0, maximiseLeft = 0, minimiseLeft = 0;
    Place restore;
    bool restoreVisible = false, maximiseVisible = false;
};

TitleBar placeTitleBar(const TitleBarInput& in);

// One line of the painted border; the end point is not drawn.
struct BorderLine {
    uint32_t colour = 0;  // 0x00BBGGRR
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The border colours, outermost first.
inline constexpr uint32_t kBorderColours[3] = {
    runtime::rgb(46, 79, 140), runtime::rgb(59, 101, 181), runtime::rgb(66, 113, 201)};

// Three nested frames of four lines each, outermost first, top, bottom,
// left, right. The right and bottom frames stand one pixel inside the
// panel's last column and row, because the window shape leaves that column
// and row out.
std::vector<BorderLine> borderLines(int panelWidth, int panelHeight);

// The window shape as rows of pixels: a rounded rectangle over the window's
// width - 1 columns and height - 1 rows (the last column and row stay
// outside, as the platform's rounded regions always did, so the border's
// outermost frame is the window's edge) with corner ellipses of the given
// size. Pixels whose centre lies inside a corner ellipse are kept.
std::vector<Box> roundedShapeRows(int width, int height, int ellipseWidth, int ellipseHeight);

}  // namespace app
