// JPEG through libjpeg. Its default error handler ends the process, so a
// handler of ours jumps back here instead and the picture is refused.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "decoders.h"

namespace runtime::decoders {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void onMessage(j_common_ptr) {}  // warnings (a truncated file) are not printed

// Everything with a destructor lives outside the function that may be
// jumped through, so the jump skips no C++ cleanup.
bool decodeInto(jpeg_decompress_struct& info, const runtime::Bytes& bytes, Picture& pic, std::vector<uint8_t>& row) {
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (!pictureSizeAcceptable(info.image_width, info.image_height)) return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) return false;
    pic.width = static_cast<int>(info.output_width);
    pic.height = static_cast<int>(info.output_height);
    pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, 0);
    row.resize(static_cast<size_t>(pic.width) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        size_t y = info.output_scanline;
        if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
        for (int x = 0; x < pic.width; ++x)
            pic.pixels[y * pic.width + x] = pixelRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

std::optional<Picture> jpeg(const runtime::Bytes& bytes) {
    Picture pic;
    std::vector<uint8_t> row;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    bool ok = decodeInto(info, bytes, pic, row);
    jpeg_destroy_decompress(&info);
    if (!ok) return std::nullopt;
    return pic;
}

}  // namespace runtime::decoders
