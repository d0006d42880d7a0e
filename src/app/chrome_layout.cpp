#include "chrome_layout.h"

#include <algorithm>
#include <cmath>

namespace app {

Layout layOut(const LayoutInput& in) {
    Layout out;
    const int W = in.width, H = in.height;
    const int T = in.marginTop, B = in.marginBottom, Lm = in.marginLeft, Rm = in.marginRight;

    out.borderPanel = {0, 0, W, H};
    out.title = {Lm, T, W - Lm - Rm};
    out.toolbar = {Lm, T + in.titleHeight, W - Lm - Rm - 1};
    out.tabControl = {
        Lm, T + in.titleHeight + in.toolbarHeight, W - Lm - Rm - 1, H - T - B - in.titleHeight - in.toolbarHeight - 1};

    // The disabled pictures stand exactly over the buttons they replace.
    out.backDisabled = in.back;
    out.forwardDisabled = in.forward;
    out.stop = in.refresh;

    const int capTop = T + in.titleHeight + 1;
    out.leftCap = {in.refresh.left + in.refreshWidth + 3, capTop};
    out.middle = {out.leftCap.left + in.leftCapWidth, capTop, W - out.leftCap.left - in.leftCapWidth - in.goWidth - 23};
    out.rightCap = {out.middle.left + out.middle.width, capTop};

    out.addressLeft = out.leftCap.left + 6;
    out.addressWidth = out.middle.width + 14;
    out.goLeft = out.rightCap.left + in.rightCapWidth + 2;
    out.progress = {out.addressLeft + out.addressWidth - in.progressWidth - 3, in.addressTop + 4};
    return out;
}

TitleBar placeTitleBar(const TitleBarInput& in) {
    TitleBar out;
    if (in.tabCount == 1) {
        out.quitLeft = in.width - in.quitWidth - in.marginRight;
    } else {
        out.closeTabVisible = true;
        out.closeTabLeft = in.width - in.closeTabWidth - in.marginRight;
        out.quitLeft = out.closeTabLeft - in.quitWidth - 3;
    }
    out.maximiseLeft = out.quitLeft - in.maximiseWidth;
    out.restore = {out.maximiseLeft, in.maximiseTop};
    out.minimiseLeft = out.maximiseLeft - in.minimiseWidth;
    out.restoreVisible = in.maximised;
    out.maximiseVisible = !in.maximised;
    return out;
}

std::vector<BorderLine> borderLines(int Wp, int Hp) {
    std::vector<BorderLine> lines;
    lines.reserve(12);
    for (int i = 0; i < 3; ++i) {
        const uint32_t c = kBorderColours[i];
        lines.push_back({c, i, i, Wp - i, i});
        lines.push_back({c, i, Hp - 2 - i, Wp - i, Hp - 2 - i});
        lines.push_back({c, i, i + 1, i, Hp - i});
        lines.push_back({c, Wp - 2 - i, i, Wp - 2 - i, Hp - 1 - i});
    }
    return lines;
}

namespace {

// How many pixels a corner ellipse cuts off the start of row y of a box h
// rows high: pixels whose centre lies left of the ellipse's edge.
int cornerInset(int y, int h, double rx, double ry) {
    const double py = y + 0.5;
    double dy = 0;
    if (py < ry) dy = ry - py;
    else if (py > h - ry) dy = py - (h - ry);
    else return 0;
    if (dy >= ry) return static_cast<int>(std::ceil(rx));
    const double dx = rx * std::sqrt(1.0 - (dy / ry) * (dy / ry));
    return std::max(0, static_cast<int>(std::ceil(rx - dx - 0.5)));
}

}  // namespace

std::vector<Box> roundedShapeRows(int width, int height, int ellipseWidth, int ellipseHeight) {
    std::vector<Box> rows;
    const int w = width - 1, h = height - 1;
    if (w <= 0 || h <= 0) return rows;
    const double rx = std::min(ellipseWidth, w) / 2.0, ry = std::min(ellipseHeight, h) / 2.0;
    for (int y = 0; y < h; ++y) {
        const int inset = ry > 0 && rx > 0 ? cornerInset(y, h, rx, ry) : 0;
        if (w - 2 * inset <= 0) continue;
        // Rows between the corner bands are all alike; merge them into one box.
        if (!rows.empty() && rows.back().left == inset && rows.back().top + rows.back().height == y)
            ++rows.back().height;
        else rows.push_back({inset, y, w - 2 * inset, 1});
    }
    return rows;
}

}  // namespace app
