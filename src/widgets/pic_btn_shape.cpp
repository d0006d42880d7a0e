#include "pic_btn_shape.h"

#include "pic_btn_props.h"

namespace widgets {

std::vector<Span> opaqueSpans(const runtime::Picture& picture, uint32_t transparentColour) {
    std::vector<Span> out;
    uint32_t cut = runtime::pixelFromColour(transparentColour);
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* row = &picture.pixels[static_cast<size_t>(y) * picture.width];
        int x = 0;
        while (x < picture.width) {
            while (x < picture.width && (row[x] & 0xFFFFFF) == cut) ++x;
            int start = x;
            while (x < picture.width && (row[x] & 0xFFFFFF) != cut) ++x;
            if (x > start) out.push_back({start, y, x - start});
        }
    }
    return out;
}

std::optional<std::vector<Span>> buttonShape(const runtime::Picture* shown, uint32_t transparentColour) {
    if (!shown || transparentColour == pic_btn::kNoTransparentColour) return std::nullopt;
    // Other high bits (palette-relative colour forms) name the same RGB.
    return opaqueSpans(*shown, transparentColour & 0xFFFFFF);
}

bool spansContain(const std::vector<Span>& spans, int x, int y) {
    for (const Span& s : spans)
        if (s.y == y && x >= s.x && x < s.x + s.width) return true;
    return false;
}

}  // namespace widgets
