// Bitmap files and the device-independent bitmaps inside them and inside
// icons: 1, 4 and 8 bits through a colour table, 16 and 32 bits plain or
// with bit-field masks, and 24 bits. Run-length compressed bitmaps are not
// read (none of the program's pictures uses them).
#include <algorithm>
#include <bit>

#include "decoders.h"

namespace runtime::decoders {
namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3;

uint32_t u16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
int32_t i32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

// One channel of a bit-field pixel, scaled to eight bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
        // Only contiguous masks make sense; anything else reads as zero.
        if (((m >> shift) & ((bits >= 32) ? ~0u : ((1u << bits) - 1))) != (m >> shift)) mask = 0;
    }
    uint32_t get(uint32_t v) const {
        if (mask == 0) return 0;
        uint32_t raw = (v & mask) >> shift;
        if (bits >= 8) return raw >> (bits - 8);
        uint32_t maxv = (1u << bits) - 1;
        return (raw * 255 + maxv / 2) / maxv;
    }
};

}  // namespace

std::optional<DibImage> dib(const uint8_t* data, size_t size, size_t pixelsOffset, bool iconLayout) {
    if (size < 12) return std::nullopt;
    uint32_t headerSize = u32(data);
    if (headerSize > size) return std::nullopt;
    int64_t width = 0, height = 0;
    uint32_t bpp = 0, compression = kRgb, coloursUsed = 0;
    bool core = headerSize == 12;
    if (core) {
        width = u16(data + 4);
        height = u16(data + 6);
        bpp = u16(data + 10);
    } else if (headerSize >= 40) {
        width = i32(data + 4);
        height = i32(data + 8);
        bpp = u16(data + 14);
        compression = u32(data + 16);
        coloursUsed = u32(data + 32);
    } else {
        return std::nullopt;
    }
    DibImage out;
    out.bottomUp = height > 0;
    height = height < 0 ? -height : height;
    if (iconLayout) height /= 2;  // the colour rows, then as many mask rows
    if (!pictureSizeAcceptable(width, height)) return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;
    if (compression != kRgb && !(compression == kBitFields && (bpp == 16 || bpp == 32))) return std::nullopt;

    size_t pos = headerSize;
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == kBitFields) {
        // Version 2 and later headers hold the masks; the plain header is
        // followed by them.
        size_t at = headerSize >= 52 ? 40 : headerSize;
        if (at + 12 > size) return std::nullopt;
        for (int i = 0; i < 3; ++i) masks[i] = u32(data + at + 4 * i);
        if (headerSize < 52) pos += 12;
    }

    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        size_t count = coloursUsed == 0 ? (1u << bpp) : std::min<uint32_t>(coloursUsed, 256);
        size_t entry = core ? 3 : 4;
        if (pos + count * entry > size) return std::nullopt;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + pos + i * entry;
            palette.push_back(pixelRgb(e[2], e[1], e[0]));
        }
        pos += count * entry;
    }
    if (pixelsOffset != 0) pos = pixelsOffset;

    size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    size_t rowsBytes = stride * static_cast<size_t>(height);
    if (pos > size || size - pos < rowsBytes) return std::nullopt;
    const uint8_t* rows = data + pos;
    if (iconLayout) {
        out.andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
        // Icons without a mask exist; they simply show every pixel.
        if (size - pos - rowsBytes >= out.andStride * height) out.andMask = rows + rowsBytes;
    }

    Picture& pic = out.picture;
    pic.width = static_cast<int>(width);
    pic.height = static_cast<int>(height);
    pic.pixels.assign(static_cast<size_t>(width) * height, 0);
    Channel r(masks[0]), g(masks[1]), b(masks[2]);
    bool alphaSeen = false;
    if (iconLayout && bpp == 32) out.alpha.assign(pic.pixels.size(), 0);
    for (int y = 0; y < pic.height; ++y) {
        const uint8_t* row = rows + stride * (out.bottomUp ? pic.height - 1 - y : y);
        uint32_t* dst = &pic.pixels[static_cast<size_t>(y) * pic.width];
        for (int x = 0; x < pic.width; ++x) {
            uint32_t v = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    size_t bit = static_cast<size_t>(x) * bpp;
                    uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                    // An index past the colour table is black, as the
                    // platform shows it.
                    v = index < palette.size() ? palette[index] : 0;
                    break;
                }
                case 16: {
                    uint32_t p = u16(row + 2 * x);
                    v = pixelRgb(r.get(p), g.get(p), b.get(p));
                    break;
                }
                case 24: v = pixelRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
                case 32: {
                    uint32_t p = u32(row + 4 * x);
                    v = pixelRgb(r.get(p), g.get(p), b.get(p));
                    if (!out.alpha.empty()) {
                        out.alpha[static_cast<size_t>(y) * pic.width + x] = p >> 24;
                        alphaSeen = alphaSeen || (p >> 24) != 0;
                    }
                    break;
                }
            }
            dst[x] = v;
        }
    }
    out.hasAlpha = alphaSeen;
    if (!alphaSeen) out.alpha.clear();
    return out;
}

std::optional<Picture> bitmap(const runtime::Bytes& bytes) {
    constexpr size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12) return std::nullopt;
    size_t offset = u32(bytes.data() + 10);
    // The offset counts from the start of the file; one that points into the
    // headers or past the end is ignored and the rows follow the colours.
    size_t rowsAt = offset > kFileHeader && offset < bytes.size() ? offset - kFileHeader : 0;
    auto image = dib(bytes.data() + kFileHeader, bytes.size() - kFileHeader, rowsAt, false);
    if (!image) return std::nullopt;
    return std::move(image->picture);
}

}  // namespace runtime::decoders
