#include "picture_pixbuf.h"

namespace runtime {

GObjectPtr<GdkPixbuf> pixbufFromPicture(const Picture& picture) {
    const bool alpha = !picture.alpha.empty();
    auto pixbuf = GObjectPtr<GdkPixbuf>::adopt(
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, picture.width, picture.height));
    // Allocation fails for sizes the decoders would not have let through;
    // still no picture rather than a crash.
    if (!pixbuf) return {};
    GdkPixbuf* pb = pixbuf.get();
    const int channels = gdk_pixbuf_get_n_channels(pb), stride = gdk_pixbuf_get_rowstride(pb);
    guchar* data = gdk_pixbuf_get_pixels(pb);
    for (int y = 0; y < picture.height; ++y) {
        guchar* row = data + static_cast<size_t>(y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            const size_t i = static_cast<size_t>(y) * picture.width + x;
            const uint32_t px = picture.pixels[i];
            guchar* p = row + static_cast<size_t>(x) * channels;
            p[0] = static_cast<guchar>(px >> 16);
            p[1] = static_cast<guchar>(px >> 8);
            p[2] = static_cast<guchar>(px);
            if (alpha) p[3] = picture.alpha[i];
        }
    }
    return pixbuf;
}

GObjectPtr<GdkPixbuf> decodePixbuf(const Bytes& bytes) {
    auto picture = decodePictureKeepingAlpha(bytes);
    if (!picture) return {};
    return pixbufFromPicture(*picture);
}

}  // namespace runtime
