// GIF through giflib: the first image on its logical screen. Every pixel
// keeps its palette colour, the transparent entry included, so that the
// button's transparent colour can cut those pixels away.
#include <algorithm>
#include <cstring>

#include <gif_lib.h>

#include "decoders.h"

namespace widgets::decoders {
namespace {

struct Reader {
    const rt::Bytes* bytes;
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

}  // namespace

std::optional<Picture> gif(const rt::Bytes& bytes) {
    Reader reader{&bytes};
    int error = 0;
    GifCloser file{DGifOpen(&reader, readFromMemory, &error)};
    GifFileType* g = file.gif;
    if (!g || DGifSlurp(g) != GIF_OK || g->ImageCount < 1) return std::nullopt;
    if (!pictureSizeAcceptable(g->SWidth, g->SHeight)) return std::nullopt;
    const SavedImage& frame = g->SavedImages[0];
    const GifImageDesc& d = frame.ImageDesc;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : g->SColorMap;
    if (!map || !frame.RasterBits || d.Width <= 0 || d.Height <= 0) return std::nullopt;

    auto colour = [&](int index) -> uint32_t {
        // An index past the palette is corrupt data; it shows black.
        if (index < 0 || index >= map->ColorCount) return 0;
        const GifColorType& c = map->Colors[index];
        return pixelRgb(c.Red, c.Green, c.Blue);
    };
    Picture pic;
    pic.width = g->SWidth;
    pic.height = g->SHeight;
    // Screen pixels outside the first frame show the background entry.
    uint32_t screen = g->SColorMap ? colour(g->SBackGroundColor) : 0;
    pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, screen);
    for (int y = 0; y < d.Height; ++y) {
        int sy = d.Top + y;
        if (sy < 0 || sy >= pic.height) continue;
        for (int x = 0; x < d.Width; ++x) {
            int sx = d.Left + x;
            if (sx < 0 || sx >= pic.width) continue;
            pic.pixels[static_cast<size_t>(sy) * pic.width + sx] = colour(frame.RasterBits[static_cast<size_t>(y) * d.Width + x]);
        }
    }
    return pic;
}

}  // namespace widgets::decoders
