// The graphic button's shape: every run of pixels in a row that differ from
// the transparent colour, as one-pixel-high rectangles. The glue unites them
// into the window's region.
#pragma once

#include <optional>
#include <vector>

#include "runtime/picture/picture.h"

namespace widgets {

struct Span {
    int x = 0, y = 0, width = 0;
    bool operator==(const Span&) const = default;
};

// The spans of `picture` that are not `transparentColour` (0x00BBGGRR).
// The display is 24-bit, so every colour shows as itself and needs no
// mapping to a nearest device colour first.
std::vector<Span> opaqueSpans(const runtime::Picture& picture, uint32_t transparentColour);

// Whether a shape applies at all: only with a transparent colour and a
// shown picture. Without one the button stays rectangular.
std::optional<std::vector<Span>> buttonShape(const runtime::Picture* shown, uint32_t transparentColour);

bool spansContain(const std::vector<Span>& spans, int x, int y);

}  // namespace widgets
