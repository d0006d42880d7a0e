#include "widgets/page_control/look.h"

#include <cstdlib>

#include "runtime/colour.h"

namespace widgets::page_control {

namespace {

using page_control::kNoColour;
using page_control::kSystemFace;

// Preset themes: header fills (normal, hot, selected) and the border. They
// only stand in for the designer's presets; the program sets none.
struct Theme {
    std::array<uint32_t, 3> fill;
    uint32_t border;
};

constexpr Theme kThemes[3] = {
    {{runtime::rgb(208, 224, 244), runtime::rgb(230, 240, 252), runtime::rgb(255, 255, 255)},
        runtime::rgb(145, 167, 180)},
    {{runtime::rgb(210, 234, 210), runtime::rgb(232, 246, 232), runtime::rgb(255, 255, 255)},
        runtime::rgb(128, 168, 128)},
    {{runtime::rgb(218, 218, 222), runtime::rgb(238, 238, 242), runtime::rgb(255, 255, 255)},
        runtime::rgb(150, 150, 158)},
};

const Theme* themeOf(const Palette& p) { return p.theme >= 1 && p.theme <= 3 ? &kThemes[p.theme - 1] : nullptr; }

uint32_t channelMix(uint32_t o, uint32_t b, int i) {
    auto mix = [i](int oc, int bc) { return static_cast<uint8_t>(oc + (bc - oc) * i / 64); };
    return runtime::rgb(mix(runtime::red(o), runtime::red(b)), mix(runtime::green(o), runtime::green(b)),
        mix(runtime::blue(o), runtime::blue(b)));
}

}  // namespace

Palette Palette::fromBlock(const PageControlBlock& b) {
    Palette p;
    p.theme = b.theme;
    p.gradient = b.gradient;
    p.fill = b.fill;
    p.pageArea = b.pageAreaColour;
    p.border = b.borderColour;
    p.text = b.text;
    p.background = b.background;
    p.explicitOuter = b.explicitOuter;
    p.outer = b.outer;
    return p;
}

uint32_t resolve(uint32_t colour) { return colour == kSystemFace ? kButtonFace : colour & 0x00FFFFFF; }

uint32_t lighten(uint32_t colour) {
    auto up = [](int c) { return static_cast<uint8_t>(c + 0.7 * (255 - c)); };
    uint32_t c = resolve(colour);
    return runtime::rgb(up(runtime::red(c)), up(runtime::green(c)), up(runtime::blue(c)));
}

std::vector<Band> gradientBands(int height, uint32_t outer, uint32_t base) {
    std::vector<Band> out;
    for (int i = 0; i < 64; ++i) {
        int top = height * i / 64;
        int bottom = height * (i + 1) / 64;
        if (bottom <= top) continue;
        out.push_back({top, bottom, channelMix(outer, base, i)});
    }
    return out;
}

HeaderColours headerColours(
    const Palette& palette, const PageControlPage& page, HeaderState state, bool controlEnabled) {
    const auto s = static_cast<size_t>(state);
    const Theme* theme = themeOf(palette);
    HeaderColours c;
    uint32_t own = page.colour[s];
    if (own != kNoColour) c.base = resolve(own);
    else c.base = resolve(theme ? theme->fill[s] : palette.fill[s]);
    c.gradient = palette.gradient || theme;
    c.outer = palette.explicitOuter ? resolve(palette.outer[s]) : lighten(c.base);
    c.border = borderColour(palette);
    c.background = backgroundColour(palette);
    c.text = controlEnabled && page.enabled ? resolve(palette.text[s]) : kDisabledText;
    return c;
}

uint32_t pageAreaFill(const Palette& palette, const PageControlPage* currentPage) {
    if (!currentPage) return kButtonFace;
    uint32_t own = currentPage->colour[static_cast<size_t>(HeaderState::kSelected)];
    if (own != kNoColour && !themeOf(palette)) return resolve(own);
    return resolve(palette.pageArea);
}

uint32_t openingLineColour(const Palette& palette, const PageControlPage& currentPage) {
    uint32_t own = currentPage.colour[static_cast<size_t>(HeaderState::kSelected)];
    if (own != kNoColour) return resolve(own);
    const Theme* theme = themeOf(palette);
    return resolve(theme ? theme->fill[2] : palette.fill[2]);
}

uint32_t borderColour(const Palette& palette) {
    const Theme* theme = themeOf(palette);
    return resolve(theme ? theme->border : palette.border);
}

uint32_t backgroundColour(const Palette& palette) { return resolve(palette.background); }

std::vector<uint32_t> scrollArtwork() {
    struct Look {
        uint32_t face, edge, chevron;
    };
    // Normal, hot, pressed, disabled.
    const Look looks[4] = {
        {runtime::rgb(196, 218, 246), runtime::rgb(120, 152, 200), runtime::rgb(32, 48, 80)},
        {runtime::rgb(226, 238, 252), runtime::rgb(140, 170, 214), runtime::rgb(32, 48, 80)},
        {runtime::rgb(120, 160, 222), runtime::rgb(70, 104, 160), runtime::rgb(16, 24, 48)},
        {runtime::rgb(214, 214, 214), runtime::rgb(168, 168, 168), runtime::rgb(150, 150, 150)},
    };
    std::vector<uint32_t> px(static_cast<size_t>(kArtWidth * kArtHeight), kMaskColour);
    const int n = 13;
    for (int image = 0; image < 8; ++image) {
        const Look& look = looks[image % 4];
        bool pointsRight = image >= 4;
        auto put = [&](int x, int y, uint32_t c) { px[static_cast<size_t>(y * kArtWidth + image * n + x)] = c; };
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                bool corner = (x == 0 || x == n - 1) && (y == 0 || y == n - 1);
                if (corner) continue;  // rounded corners stay transparent
                bool edge = x == 0 || y == 0 || x == n - 1 || y == n - 1;
                put(x, y, edge ? look.edge : look.face);
            }
        // A two-pixel chevron with its tip at column 4 (mirrored for right).
        for (int y = 3; y <= 9; ++y) {
            int d = std::abs(y - 6);
            for (int x : {4 + d, 5 + d}) put(pointsRight ? n - 1 - x : x, y, look.chevron);
        }
    }
    return px;
}

}  // namespace widgets::page_control
