#include <cstring>

#include "picture.h"

namespace runtime {

bool pictureSizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

PictureFormat sniffPictureFormat(const runtime::Bytes& b) {
    if (b.size() <= 5) return PictureFormat::kNone;
    auto starts = [&](std::initializer_list<uint8_t> sig) {
        size_t i = 0;
        for (uint8_t v : sig)
            if (b[i++] != v) return false;
        return true;
    };
    if (starts({0x42, 0x4D})) return PictureFormat::kBitmap;
    if (starts({0xFF, 0xD8})) return PictureFormat::kJpeg;
    if (starts({0x89, 0x50, 0x4E, 0x47})) return PictureFormat::kPng;
    if (starts({0x00, 0x00, 0x01, 0x00})) return PictureFormat::kIcon;
    if (starts({0x00, 0x00, 0x02, 0x00})) return PictureFormat::kCursor;
    if (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0) return PictureFormat::kGif;
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::kPcx;
    if (starts({0x0A, 0x03, 0x01, 0x01})) return PictureFormat::kPcx;
    return PictureFormat::kNone;
}

}  // namespace runtime
