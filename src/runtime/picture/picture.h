// Pictures as the components keep them: plain 24-bit pixels of the
// picture's own size, decoded from the bytes a window description stores.
// One set of decoders serves every kind; only the formats sniffed below are
// read, whatever else a general image loader might take. Nothing here
// needs a display.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/value.h"

namespace runtime {

// Pixels are 0x00RRGGBB, row by row from the top, which is also cairo's
// RGB24 layout, so the glue can paint them without conversion.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    // Per-pixel opacity (0 clear .. 255 opaque) of a picture that keeps its
    // alpha; empty for an opaque one.
    std::vector<uint8_t> alpha;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Pictures larger than this are refused: a corrupt header must not make us
// allocate gigabytes.
constexpr int kMaxPictureSide = 8192;
constexpr int64_t kMaxPicturePixels = 16 * 1024 * 1024;
bool pictureSizeAcceptable(int64_t width, int64_t height);

enum class PictureFormat { kNone, kBitmap, kJpeg, kPng, kIcon, kCursor, kGif, kPcx };

// The format named by the first bytes; blocks of five bytes or fewer are no
// picture whatever they hold.
PictureFormat sniffPictureFormat(const runtime::Bytes& bytes);

// Decodes a picture. `background` (0x00BBGGRR) is what PNG alpha is blended
// over. Icons and cursors come out drawn on white. Anything that does not
// decode, PCX included, is no picture.
std::optional<Picture> decodePicture(const runtime::Bytes& bytes, uint32_t background);
// The same, except that a PNG with transparency keeps its alpha instead of
// being blended (for kinds that paint over whatever lies below).
std::optional<Picture> decodePictureKeepingAlpha(const runtime::Bytes& bytes);

// Pixel helpers between the stored colour form 0x00BBGGRR and 0x00RRGGBB.
constexpr uint32_t pixelFromColour(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr uint32_t pixelRgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

}  // namespace runtime
