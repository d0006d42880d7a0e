// Small pictures of every format, made in code for the decoder and button
// tests. Pixels are given as 0x00RRGGBB like runtime::Picture.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace samples {

using PixelAt = std::function<uint32_t(int x, int y)>;

runtime::Bytes bmp24(int width, int height, const PixelAt& pixel, bool topDown = false);
// Palette bitmap with `bits` of 1, 4 or 8 per pixel.
runtime::Bytes bmpPalette(int width, int height, int bits, const std::vector<uint32_t>& palette,
    const std::function<int(int x, int y)>& index);
// RGBA pixels as 0xAARRGGBB.
runtime::Bytes png(int width, int height, const PixelAt& argb);
runtime::Bytes gif(int width, int height, const std::vector<uint32_t>& palette,
    const std::function<int(int, int)>& index, int transparentIndex = -1);
// A GIF laid out freely: the first frame anywhere on (or off) the screen,
// with a global palette, a local one or both, and further frames after it.
struct GifLayout {
    int screenWidth = 0, screenHeight = 0, background = 0;
    std::vector<uint32_t> globalPalette;  // empty: none
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint32_t> localPalette;  // empty: none
    bool interlaced = false;
    int frames = 1;  // copies of the first frame
};
runtime::Bytes gif(const GifLayout& layout, const std::function<int(int, int)>& index);
runtime::Bytes jpeg(int width, int height, const PixelAt& pixel);
// 24-bit icon with a mask; masked pixels are those where `masked` says so.
runtime::Bytes icon(
    int width, int height, const PixelAt& pixel, const std::function<bool(int, int)>& masked, bool cursor = false);

// A file of the project's artwork, read from the source tree; empty when the
// file is not there.
runtime::Bytes asset(const std::string& name);

}  // namespace samples
