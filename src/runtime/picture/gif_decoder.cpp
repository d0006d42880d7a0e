// GIF through giflib: the first image on its logical screen, clipped to
// it. Every pixel keeps its palette colour, the transparent entry included,
// so that the button's transparent colour can cut those pixels away.
#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "decoders.h"

namespace runtime::decoders {
namespace {

struct Reader {
    const runtime::Bytes* bytes;
    size_t pos = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* r = static_cast<Reader*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(wanted < 0 ? 0 : wanted), r->bytes->size() - r->pos);
    if (n == 0) return 0;  // an empty input has no data pointer to copy from
    std::memcpy(out, r->bytes->data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        int error = 0;
        if (gif) DGifCloseFile(gif, &error);
    }
};

// Skips an extension block and its sub-blocks.
bool skipExtension(GifFileType* g) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(g, &code, &block) != GIF_OK) return false;
    while (block)
        if (DGifGetExtensionNext(g, &block) != GIF_OK) return false;
    return true;
}

// Reads up to the first image descriptor; false when the file has none.
bool findFirstFrame(GifFileType* g) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(g, &type) != GIF_OK) return false;
        switch (type) {
            case IMAGE_DESC_RECORD_TYPE: return DGifGetImageDesc(g) == GIF_OK;
            case EXTENSION_RECORD_TYPE:
                if (!skipExtension(g)) return false;
                break;
            default: return false;  // the trailer, or garbage
        }
    }
}

// Rows of an interlaced frame arrive in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

}  // namespace

std::optional<Picture> gif(const runtime::Bytes& bytes) {
    Reader reader{&bytes};
    int error = 0;
    GifCloser file{DGifOpen(&reader, readFromMemory, &error)};
    GifFileType* g = file.gif;
    if (!g || !pictureSizeAcceptable(g->SWidth, g->SHeight)) return std::nullopt;
    // Only the first frame is shown, so only it is read: the frames after
    // it are never decoded nor held.
    if (!findFirstFrame(g)) return std::nullopt;
    const GifImageDesc& d = g->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : g->SColorMap;
    // The frame's own size is checked before its rows are read; its rows
    // are read one at a time, never the whole frame at once.
    if (!map || !pictureSizeAcceptable(d.Width, d.Height)) return std::nullopt;

    auto colour = [](const ColorMapObject* m, int index) -> uint32_t {
        // An index past the palette is corrupt data; it shows black.
        if (!m || index < 0 || index >= m->ColorCount) return 0;
        const GifColorType& c = m->Colors[index];
        return pixelRgb(c.Red, c.Green, c.Blue);
    };
    Picture pic;
    pic.width = g->SWidth;
    pic.height = g->SHeight;
    // Screen pixels outside the first frame show the background entry,
    // which indexes the global palette whatever palette the frame brings.
    pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, colour(g->SColorMap, g->SBackGroundColor));

    // The part of the frame on the screen; a frame entirely off the screen
    // leaves only the background, and its rows are not decoded at all.
    const int64_t left = std::max<int64_t>(d.Left, 0), top = std::max<int64_t>(d.Top, 0);
    const int64_t right = std::min<int64_t>(int64_t{d.Left} + d.Width, pic.width);
    const int64_t bottom = std::min<int64_t>(int64_t{d.Top} + d.Height, pic.height);
    if (left >= right || top >= bottom) return pic;

    std::vector<GifPixelType> row(static_cast<size_t>(d.Width));
    for (int y : rowOrder(d.Height, d.Interlace)) {
        if (DGifGetLine(g, row.data(), d.Width) != GIF_OK) return std::nullopt;
        const int64_t sy = int64_t{d.Top} + y;
        // Rows in order: nothing below the screen's bottom needs decoding.
        if (sy >= bottom && !d.Interlace) break;
        if (sy < top || sy >= bottom) continue;
        uint32_t* out = &pic.pixels[static_cast<size_t>(sy) * pic.width];
        for (int64_t sx = left; sx < right; ++sx) out[sx] = colour(map, row[static_cast<size_t>(sx - d.Left)]);
    }
    return pic;
}

}  // namespace runtime::decoders
