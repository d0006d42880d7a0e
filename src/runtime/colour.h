// Colours as the window descriptions store them: 0x00BBGGRR.
#pragma once

#include <cstdint>

// Declared as cairo declares it: the colour arithmetic needs no drawing.
typedef struct _cairo cairo_t;

namespace runtime {

constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
constexpr uint8_t red(uint32_t c) { return c & 0xFF; }
constexpr uint8_t green(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint8_t blue(uint32_t c) { return (c >> 16) & 0xFF; }

void setSourceColour(cairo_t* cr, uint32_t c);

}  // namespace runtime
