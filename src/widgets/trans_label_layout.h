// Where the transparent label puts its text and in which passes, kept apart
// from Pango so that it is tested without a display.
#pragma once

#include <cstdint>
#include <vector>

namespace widgets {

constexpr int32_t clampEffect(int32_t e) { return e < 0 ? 0 : e > 3 ? 3 : e; }
constexpr int32_t clampAlign(int32_t a) { return a < 0 ? 0 : a > 2 ? 2 : a; }

// One drawing of the text, moved by (dx, dy), in a colour 0x00BBGGRR. The
// passes are drawn in order, the later over the earlier.
struct TextPass {
    int dx = 0, dy = 0;
    uint32_t colour = 0;
    bool operator==(const TextPass&) const = default;
};

// Effect 1: white copy one pixel right and down under the text. Effect 2:
// white copy under the text moved one pixel right and down (raised look).
// Effect 3: black copy two pixels right and down. Effect 0: the text only.
std::vector<TextPass> textPasses(int32_t effect, uint32_t textColour);

// Offset of a text of `text` pixels in a box of `box` pixels: 0 start,
// 1 centre (halved, cut toward zero), 2 end.
int alignedOffset(int32_t align, int box, int text);

struct TextOrigin {
    int x = 0, y = 0;
    bool operator==(const TextOrigin&) const = default;
};

// The top-left corner of the text in the label. A wrapped text aligns each
// line by itself (the caller gives the lines the box width), so only its
// vertical place is worked out here, and it is always the top.
TextOrigin textOrigin(int32_t horizontalAlign, int32_t verticalAlign, bool wrap, int boxWidth, int boxHeight,
    int textWidth, int textHeight);

}  // namespace widgets
