// The tab control's colour arithmetic: which colour each part is drawn in,
// the 64-band header gradient and the built-in scroll-button artwork. No
// drawing here, only numbers, so the painter stays a thin layer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "widgets/page_control.h"

namespace widgets::page_control {

// Header states in the order the colour properties list them.
enum class HeaderState { kNormal = 0, kHot = 1, kSelected = 2 };

// What the colour properties say, before any theme or system colour is
// resolved.
struct Palette {
    int theme = 1;
    bool gradient = false;
    std::array<uint32_t, 3> fill{page_control::kSystemFace, page_control::kSystemFace, page_control::kSystemFace};
    uint32_t pageArea = page_control::kSystemFace;
    uint32_t border = 0x00B4A791;
    std::array<uint32_t, 3> text{0x00000000, 0x000000FF, 0x00FF0000};
    uint32_t background = page_control::kSystemFace;
    bool explicitOuter = false;
    std::array<uint32_t, 3> outer{0x00ECECEC, 0x00ECECEC, 0x00ECECEC};

    static Palette fromBlock(const PageControlBlock& b);
};

// The colour the platform uses for button faces, standing in for 0xFF000000.
constexpr uint32_t kButtonFace = 0x00F0F0F0;
constexpr uint32_t kDisabledText = 0x00808080;

// 0xFF000000 becomes the button-face colour; anything else keeps its RGB.
uint32_t resolve(uint32_t colour);

// Each channel c becomes c + 0.7 x (255 - c), the fraction cut off.
uint32_t lighten(uint32_t colour);

struct Band {
    int top = 0, bottom = 0;  // rows [top, bottom)
    uint32_t colour = 0;
};

// The 64 bands from the outer colour at row 0 to the base colour at the
// page edge; empty bands are left out.
std::vector<Band> gradientBands(int height, uint32_t outer, uint32_t base);

// Resolved colours for one header.
struct HeaderColours {
    uint32_t base = 0;
    uint32_t outer = 0;
    bool gradient = false;
    uint32_t border = 0;
    uint32_t background = 0;
    uint32_t text = 0;
};

HeaderColours headerColours(
    const Palette& palette, const PageControlPage& page, HeaderState state, bool controlEnabled);

// Fill of the page area (shrunk by one pixel inside its frame).
uint32_t pageAreaFill(const Palette& palette, const PageControlPage* currentPage);
// The line that opens the selected header into the page.
uint32_t openingLineColour(const Palette& palette, const PageControlPage& currentPage);
uint32_t borderColour(const Palette& palette);
uint32_t backgroundColour(const Palette& palette);

// Built-in scroll-button artwork: eight 13 x 13 images side by side
// (left button normal, hot, pressed, disabled, then the right button's
// four), pixels 0x00BBGGRR row by row, kMaskColour where transparent.
constexpr int kArtWidth = 104, kArtHeight = 13;
constexpr uint32_t kMaskColour = 0x00FF00FF;
std::vector<uint32_t> scrollArtwork();

}  // namespace widgets::page_control
