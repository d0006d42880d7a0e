// The per-format decoders behind decodePicture(). Each takes the whole file
// and gives no picture for anything it cannot read completely enough.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "picture.h"

namespace runtime::decoders {

std::optional<Picture> bitmap(const runtime::Bytes& bytes);
std::optional<Picture> jpeg(const runtime::Bytes& bytes);
std::optional<Picture> png(const uint8_t* data, size_t size, uint32_t backgroundPixel);
// The PNG with its alpha kept (none when every pixel is opaque).
std::optional<Picture> pngKeepingAlpha(const uint8_t* data, size_t size);
std::optional<Picture> gif(const runtime::Bytes& bytes);
// Icons and cursors share one layout; the first image is the one shown.
std::optional<Picture> icon(const runtime::Bytes& bytes);

// A device-independent bitmap (the header and what follows it), as found in
// bitmap files and inside icons. `pixelsOffset` is where the pixel rows start
// when the file says so; 0 means directly after the colour table.
struct DibImage {
    Picture picture;
    const uint8_t* andMask = nullptr;  // icons only: the 1-bit mask rows after the colours
    size_t andStride = 0;
    bool bottomUp = true;
    bool hasAlpha = false;       // 32-bit pixels carry a real alpha channel
    std::vector<uint8_t> alpha;  // per pixel, when hasAlpha
};
std::optional<DibImage> dib(const uint8_t* data, size_t size, size_t pixelsOffset, bool iconLayout);

}  // namespace runtime::decoders
