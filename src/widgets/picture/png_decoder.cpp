// PNG through libpng's simplified reader; alpha is blended over the colour
// the button stands on, since the bitmap we keep has no alpha.
#include <png.h>

#include "decoders.h"

namespace widgets::decoders {

std::optional<Picture> png(const uint8_t* data, size_t size, uint32_t backgroundPixel) {
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
    pic.pixels.resize(static_cast<size_t>(pic.width) * pic.height);
    for (size_t i = 0; i < pic.pixels.size(); ++i) {
        const uint8_t* p = &rgba[4 * i];
        uint32_t a = p[3], out = 0;
        for (int c = 0; c < 3; ++c) {
            uint32_t bg = (backgroundPixel >> (16 - 8 * c)) & 0xFF;
            out = (out << 8) | ((p[c] * a + bg * (255 - a) + 127) / 255);
        }
        pic.pixels[i] = out;
    }
    return pic;
}

}  // namespace widgets::decoders
