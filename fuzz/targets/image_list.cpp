// The tab control's image lists, from the stream a property block stores
// to the cairo surface the painter draws from.
#include <cairo.h>

#include "fuzz_support.h"
#include "widgets/page_control/image_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto list = widgets::page_control::ImageList::fromStream(fuzz::bytes(data, size));
    if (list.empty()) return 0;
    cairo_surface_t* strip = list.strip.get();
    fuzz::check(strip && cairo_surface_status(strip) == CAIRO_STATUS_SUCCESS, "a list without a usable surface");
    const int w = cairo_image_surface_get_width(strip), h = cairo_image_surface_get_height(strip);
    fuzz::check(list.width > 0 && list.height > 0 && list.count > 0, "a list with empty images");
    fuzz::check(list.count * list.width <= w && list.height <= h, "images reach past the strip");
    fuzz::check(runtime::pictureSizeAcceptable(w, h), "a strip over the picture size limits");
    // Reading every pixel lets the sanitizer see a surface shorter than it says.
    cairo_surface_flush(strip);
    const unsigned char* pixels = cairo_image_surface_get_data(strip);
    const int stride = cairo_image_surface_get_stride(strip);
    unsigned sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sum += pixels[static_cast<size_t>(y) * stride + 4 * static_cast<size_t>(x)];
    fuzz::check(sum <= 255u * static_cast<unsigned>(w) * static_cast<unsigned>(h), "impossible pixel sum");
    return 0;
}
