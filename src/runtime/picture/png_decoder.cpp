// PNG through libpng's simplified reader. For a button the alpha is blended
// over the colour the button stands on, since the bitmap it keeps has no
// alpha; other kinds keep it.
#include <png.h>

#include "decoders.h"

namespace runtime::decoders {

std::optional<Picture> pngKeepingAlpha(const uint8_t* data, size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return std::nullopt;
    if (!pictureSizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Picture pic;
    pic.width = static_cast<int>(image.width);
    pic.height = static_cast<int>(image.height);
    const size_t count = static_cast<size_t>(pic.width) * pic.height;
    pic.pixels.resize(count);
    pic.alpha.resize(count);
    bool opaque = true;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &rgba[4 * i];
        pic.pixels[i] = pixelRgb(p[0], p[1], p[2]);
        pic.alpha[i] = p[3];
        opaque = opaque && p[3] == 255;
    }
    if (opaque) pic.alpha.clear();
    return pic;
}

std::optional<Picture> png(const uint8_t* data, size_t size, uint32_t backgroundPixel) {
    auto pic = pngKeepingAlpha(data, size);
    if (!pic || pic->alpha.empty()) return pic;
    for (size_t i = 0; i < pic->pixels.size(); ++i) {
        uint32_t a = pic->alpha[i], px = pic->pixels[i], out = 0;
        for (int shift = 16; shift >= 0; shift -= 8) {
            uint32_t fg = (px >> shift) & 0xFF, bg = (backgroundPixel >> shift) & 0xFF;
            out = (out << 8) | ((fg * a + bg * (255 - a) + 127) / 255);
        }
        pic->pixels[i] = out;
    }
    pic->alpha.clear();
    return pic;
}

}  // namespace runtime::decoders
