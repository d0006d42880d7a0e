#include "widgets/page_control/image_list.h"

#include "runtime/colour.h"
#include "runtime/picture/picture.h"
#include "widgets/page_control.h"
#include "widgets/page_control/look.h"
#include "widgets/page_control/scroll_button.h"

namespace widgets::page_control {

Surface surfaceFromPixels(const std::vector<uint32_t>& px, int width, int height, uint32_t mask) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    // Cairo answers sizes it cannot hold (a side over 32767) and a failed
    // allocation with an error surface that has no pixels to write.
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return Surface{};
    cairo_surface_flush(s.get());
    unsigned char* data = cairo_image_surface_get_data(s.get());
    if (!data) return Surface{};
    int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            uint32_t c = px[static_cast<size_t>(y) * width + x];
            row[x] = c == mask ? 0u
                               : 0xFF000000u | (runtime::red(c) << 16) | (runtime::green(c) << 8) | runtime::blue(c);
        }
    }
    cairo_surface_mark_dirty(s.get());
    return s;
}

ImageList ImageList::fromStream(const runtime::Bytes& stream) {
    ImageList list;
    auto parsed = ImageListStream::parse(stream);
    if (!parsed) return list;
    // The decoders refuse pictures over their size limits before
    // allocating, and know only the program's formats.
    auto picture = runtime::decodePictureKeepingAlpha(parsed->picture);
    if (!picture) return list;
    const int w = picture->width, h = picture->height;
    if (!runtime::pictureSizeAcceptable(w, h) || h < parsed->imageHeight || w < parsed->imageWidth) return list;
    // Read the picture as 0x00BBGGRR so the mask colour is compared exactly;
    // pixels mostly see-through count as masked.
    constexpr uint32_t kTransparent = 0xFF000000;
    const uint32_t mask = parsed->maskColour == page_control::kSystemFace ? kTransparent : parsed->maskColour;
    std::vector<uint32_t> px(picture->pixels.size());
    for (size_t i = 0; i < px.size(); ++i) {
        const uint32_t p = picture->pixels[i];
        const bool clear = !picture->alpha.empty() && picture->alpha[i] < 128;
        px[i] = clear ? mask : runtime::rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    list.strip = surfaceFromPixels(px, w, h, mask);
    if (!list.strip) return list;
    list.width = parsed->imageWidth;
    list.height = parsed->imageHeight;
    list.count = w / parsed->imageWidth;
    return list;
}

ImageList ImageList::builtInScrollButtons() {
    ImageList list;
    list.strip = surfaceFromPixels(scrollArtwork(), kArtWidth, kArtHeight, kMaskColour);
    list.width = ScrollButton::kSize;
    list.height = ScrollButton::kSize;
    list.count = 8;
    return list;
}

}  // namespace widgets::page_control
