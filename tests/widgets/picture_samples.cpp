#include "picture_samples.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace samples {
namespace {

void put16(runtime::Bytes& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(runtime::Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// BITMAPINFOHEADER and colour table, then rows.
runtime::Bytes dib(int width, int height, int bits, const std::vector<uint32_t>& palette,
    const std::function<void(runtime::Bytes&, int y)>& row, int storedHeight) {
    runtime::Bytes b;
    put32(b, 40);
    put32(b, width);
    put32(b, static_cast<uint32_t>(storedHeight));
    put16(b, 1);
    put16(b, bits);
    put32(b, 0);
    put32(b, 0);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, static_cast<uint32_t>(palette.size()));
    put32(b, 0);
    for (uint32_t c : palette) put32(b, c);
    bool topDown = static_cast<int32_t>(storedHeight) < 0;
    for (int i = 0; i < height; ++i) row(b, topDown ? i : height - 1 - i);
    return b;
}

void pad(runtime::Bytes& b, size_t rowStart) {
    while ((b.size() - rowStart) % 4) b.push_back(0);
}

runtime::Bytes withFileHeader(const runtime::Bytes& dibBytes, size_t paletteSize) {
    runtime::Bytes b = {'B', 'M'};
    put32(b, static_cast<uint32_t>(14 + dibBytes.size()));
    put32(b, 0);
    put32(b, static_cast<uint32_t>(14 + 40 + paletteSize * 4));
    b.insert(b.end(), dibBytes.begin(), dibBytes.end());
    return b;
}

}  // namespace

runtime::Bytes bmp24(int width, int height, const PixelAt& pixel, bool topDown) {
    auto d = dib(
        width, height, 24, {},
        [&](runtime::Bytes& b, int y) {
        size_t start = b.size();
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixel(x, y);
            b.push_back(p & 0xFF);
            b.push_back((p >> 8) & 0xFF);
            b.push_back((p >> 16) & 0xFF);
        }
        pad(b, start);
        },
        topDown ? -height : height);
    return withFileHeader(d, 0);
}

runtime::Bytes bmpPalette(
    int width, int height, int bits, const std::vector<uint32_t>& palette, const std::function<int(int, int)>& index) {
    auto d = dib(
        width, height, bits, palette,
        [&](runtime::Bytes& b, int y) {
        size_t start = b.size();
        int acc = 0, used = 0;
        for (int x = 0; x < width; ++x) {
            acc = (acc << bits) | index(x, y);
            used += bits;
            if (used == 8) b.push_back(static_cast<uint8_t>(acc)), acc = 0, used = 0;
        }
        if (used) b.push_back(static_cast<uint8_t>(acc << (8 - used)));
        pad(b, start);
        },
        height);
    return withFileHeader(d, palette.size());
}

runtime::Bytes png(int width, int height, const PixelAt& argb) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb(x, y);
            rgba.insert(rgba.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    runtime::Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr)) std::abort();
    out.resize(size);
    return out;
}

runtime::Bytes gif(int width, int height, const std::vector<uint32_t>& palette,
    const std::function<int(int, int)>& index, int transparentIndex) {
    struct Sink {
        runtime::Bytes bytes;
    } sink;
    auto write = [](GifFileType* g, const GifByteType* data, int n) {
        auto* s = static_cast<Sink*>(g->UserData);
        s->bytes.insert(s->bytes.end(), data, data + n);
        return n;
    };
    int error = 0;
    GifFileType* g = EGifOpen(&sink, write, &error);
    int colours = 2;
    while (colours < static_cast<int>(palette.size())) colours *= 2;
    std::vector<GifColorType> entries(colours);
    for (size_t i = 0; i < palette.size(); ++i)
        entries[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8), GifByteType(palette[i])};
    ColorMapObject* map = GifMakeMapObject(colours, entries.data());
    EGifSetGifVersion(g, true);
    EGifPutScreenDesc(g, width, height, 8, 0, map);
    if (transparentIndex >= 0) {
        GifByteType ext[4] = {1, 0, 0, GifByteType(transparentIndex)};
        EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    EGifPutImageDesc(g, 0, 0, width, height, false, nullptr);
    std::vector<GifPixelType> line(width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) line[x] = GifPixelType(index(x, y));
        EGifPutLine(g, line.data(), width);
    }
    EGifCloseFile(g, &error);
    GifFreeMapObject(map);
    return sink.bytes;
}

runtime::Bytes gif(const GifLayout& l, const std::function<int(int, int)>& index) {
    runtime::Bytes out;
    auto write = [](GifFileType* g, const GifByteType* data, int n) {
        auto* b = static_cast<runtime::Bytes*>(g->UserData);
        b->insert(b->end(), data, data + n);
        return n;
    };
    auto makeMap = [](const std::vector<uint32_t>& palette) -> ColorMapObject* {
        if (palette.empty()) return nullptr;
        int colours = 2;
        while (colours < static_cast<int>(palette.size())) colours *= 2;
        std::vector<GifColorType> entries(colours);
        for (size_t i = 0; i < palette.size(); ++i)
            entries[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8), GifByteType(palette[i])};
        return GifMakeMapObject(colours, entries.data());
    };
    int error = 0;
    GifFileType* g = EGifOpen(&out, write, &error);
    ColorMapObject* global = makeMap(l.globalPalette);
    ColorMapObject* local = makeMap(l.localPalette);
    EGifSetGifVersion(g, true);
    EGifPutScreenDesc(g, l.screenWidth, l.screenHeight, 8, l.background, global);
    // Rows go out in the order the decoder expects them: by passes when
    // interlaced.
    std::vector<int> rows;
    if (l.interlaced) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < l.height; y += step[pass]) rows.push_back(y);
    } else {
        for (int y = 0; y < l.height; ++y) rows.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(l.width));
    for (int frame = 0; frame < l.frames; ++frame) {
        EGifPutImageDesc(g, l.left, l.top, l.width, l.height, l.interlaced, local);
        for (int y : rows) {
            for (int x = 0; x < l.width; ++x) line[static_cast<size_t>(x)] = GifPixelType(index(x, y));
            EGifPutLine(g, line.data(), l.width);
        }
    }
    EGifCloseFile(g, &error);
    if (global) GifFreeMapObject(global);
    if (local) GifFreeMapObject(local);
    return out;
}

runtime::Bytes jpeg(int width, int height, const PixelAt& pixel) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(width * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixel(x, y);
            row[3 * x] = p >> 16, row[3 * x + 1] = p >> 8, row[3 * x + 2] = p;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    runtime::Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

runtime::Bytes icon(
    int width, int height, const PixelAt& pixel, const std::function<bool(int, int)>& masked, bool cursor) {
    runtime::Bytes d = dib(
        width, height, 24, {},
        [&](runtime::Bytes& b, int y) {
        size_t start = b.size();
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixel(x, y);
            b.insert(b.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
        }
        pad(b, start);
        },
        height * 2);
    for (int i = 0; i < height; ++i) {
        int y = height - 1 - i;
        size_t start = d.size();
        int acc = 0, used = 0;
        for (int x = 0; x < width; ++x) {
            acc = (acc << 1) | (masked(x, y) ? 1 : 0);
            if (++used == 8) d.push_back(static_cast<uint8_t>(acc)), acc = 0, used = 0;
        }
        if (used) d.push_back(static_cast<uint8_t>(acc << (8 - used)));
        pad(d, start);
    }
    runtime::Bytes b;
    put16(b, 0);
    put16(b, cursor ? 2 : 1);
    put16(b, 1);
    b.insert(b.end(), {uint8_t(width), uint8_t(height), 0, 0});
    put16(b, cursor ? 3 : 1);
    put16(b, cursor ? 4 : 24);
    put32(b, static_cast<uint32_t>(d.size()));
    put32(b, 6 + 16);
    b.insert(b.end(), d.begin(), d.end());
    return b;
}

runtime::Bytes asset(const std::string& name) {
    const char* root = std::getenv("VAROMEL_SOURCE_DIR");
    // Without the variable (a test run by hand), the tree this file is in.
    std::filesystem::path base = root ? std::filesystem::path(root)
                                      : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    std::filesystem::path path = base / "assets" / "pictures" / name;
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return runtime::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace samples
