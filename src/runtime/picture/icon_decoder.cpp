// Icons and cursors: a directory of images, each a PNG or a bitmap with a
// one-bit mask. The first image is drawn onto white, as the platform draws
// an icon into a fresh white bitmap.
#include "decoders.h"

namespace runtime::decoders {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t u16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

uint32_t blend(uint32_t fg, uint32_t bg, uint32_t a) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t f = (fg >> shift) & 0xFF, b = (bg >> shift) & 0xFF;
        out |= ((f * a + b * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

std::optional<Picture> icon(const runtime::Bytes& bytes) {
    constexpr size_t kHeader = 6, kEntry = 16;
    if (bytes.size() < kHeader + kEntry || u16(bytes.data() + 4) == 0) return std::nullopt;
    const uint8_t* entry = bytes.data() + kHeader;
    size_t length = u32(entry + 8), offset = u32(entry + 12);
    if (offset >= bytes.size() || length > bytes.size() - offset) return std::nullopt;
    const uint8_t* data = bytes.data() + offset;

    if (length >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return png(data, length, kWhite);

    auto image = dib(data, length, 0, true);
    if (!image) return std::nullopt;
    Picture& pic = image->picture;
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            uint32_t& px = pic.pixels[static_cast<size_t>(y) * pic.width + x];
            if (image->hasAlpha) {
                px = blend(px, kWhite, image->alpha[static_cast<size_t>(y) * pic.width + x]);
                continue;
            }
            if (!image->andMask) continue;
            int row = image->bottomUp ? pic.height - 1 - y : y;
            bool masked = (image->andMask[row * image->andStride + x / 8] >> (7 - x % 8)) & 1;
            // Masked pixels keep the white below, XORed with the colour
            // (black there leaves white; other colours invert it).
            if (masked) px = (kWhite ^ px) & kWhite;
        }
    }
    return std::move(image->picture);
}

}  // namespace runtime::decoders
