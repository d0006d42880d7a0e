#include <gtest/gtest.h>

#include <random>

#include "picture_samples.h"
#include "runtime/colour.h"
#include "runtime/picture/picture.h"

using runtime::decodePicture;
using runtime::PictureFormat;
using runtime::sniffPictureFormat;

namespace {

constexpr uint32_t kGrey = 0x00C0C0C0;

runtime::Bytes bytesOf(std::initializer_list<int> v) { return runtime::Bytes(v.begin(), v.end()); }

TEST(PictureSniff, FormatsFromTheirFirstBytes) {
    struct Row {
        const char* name;
        runtime::Bytes bytes;
        PictureFormat expected;
    };
    const Row rows[] = {
        {"bitmap", bytesOf({0x42, 0x4D, 0, 0, 0, 0}), PictureFormat::kBitmap},
        {"jpeg", bytesOf({0xFF, 0xD8, 0xFF, 0xE0, 0, 0}), PictureFormat::kJpeg},
        {"png", bytesOf({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A}), PictureFormat::kPng},
        {"icon", bytesOf({0, 0, 1, 0, 1, 0}), PictureFormat::kIcon},
        {"cursor", bytesOf({0, 0, 2, 0, 1, 0}), PictureFormat::kCursor},
        {"gif87", bytesOf({'G', 'I', 'F', '8', '7', 'a'}), PictureFormat::kGif},
        {"gif89", bytesOf({'G', 'I', 'F', '8', '9', 'a', 0}), PictureFormat::kGif},
        {"gif other version", bytesOf({'G', 'I', 'F', '9', '0', 'a'}), PictureFormat::kNone},
        {"pcx 8-bit", bytesOf({0x0A, 5, 1, 8, 0, 0}), PictureFormat::kPcx},
        {"pcx version 6", bytesOf({0x0A, 6, 1, 8, 0, 0}), PictureFormat::kNone},
        {"pcx 1-bit", bytesOf({0x0A, 3, 1, 1, 0, 0}), PictureFormat::kPcx},
        {"pcx 4-bit", bytesOf({0x0A, 5, 1, 4, 0, 0}), PictureFormat::kNone},
        {"five bytes of bitmap", bytesOf({0x42, 0x4D, 0, 0, 0}), PictureFormat::kNone},
        {"empty", {}, PictureFormat::kNone},
        {"text", bytesOf({'h', 'e', 'l', 'l', 'o', '!'}), PictureFormat::kNone},
    };
    for (const Row& r : rows) EXPECT_EQ(sniffPictureFormat(r.bytes), r.expected) << r.name;
}

TEST(PictureDecode, Bitmap24BitBothRowOrders) {
    auto pixel = [](int x, int y) { return runtime::pixelRgb(x * 40, y * 60, 7); };
    for (bool topDown : {false, true}) {
        auto pic = decodePicture(samples::bmp24(5, 3, pixel, topDown), kGrey);
        ASSERT_TRUE(pic) << topDown;
        EXPECT_EQ(pic->width, 5);
        EXPECT_EQ(pic->height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(pic->at(x, y), pixel(x, y)) << x << "," << y;
    }
}

TEST(PictureDecode, PaletteBitmaps) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int bits : {1, 4, 8}) {
        int colours = bits == 1 ? 2 : 4;
        auto index = [&](int x, int y) { return (x + y) % colours; };
        auto pic = decodePicture(samples::bmpPalette(9, 4, bits, palette, index), kGrey);
        ASSERT_TRUE(pic) << bits;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) EXPECT_EQ(pic->at(x, y), palette[index(x, y)]) << bits << " " << x << "," << y;
    }
}

TEST(PictureDecode, BitmapIndexPastItsColourTableIsBlack) {
    auto pic = decodePicture(samples::bmpPalette(2, 1, 8, {0xFFFFFF}, [](int x, int) { return x == 0 ? 0 : 200; }), 0);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(pic->at(1, 0), 0u);
}

TEST(PictureDecode, PngAlphaIsBlendedOverTheBackground) {
    // Opaque red, half-transparent blue, fully transparent.
    const uint32_t argb[] = {0xFFFF0000, 0x800000FF, 0x00123456};
    auto pic = decodePicture(samples::png(3, 1, [&](int x, int) { return argb[x]; }), runtime::rgb(0x20, 0x40, 0xC0));
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->at(0, 0), 0xFF0000u);
    // 0x80 of 0xFF over the background: (128*c + 127*bg) / 255.
    EXPECT_EQ(pic->at(1, 0), runtime::pixelRgb(0x10, 0x20, 0xE0));
    EXPECT_EQ(pic->at(2, 0), runtime::pixelRgb(0x20, 0x40, 0xC0));
}

TEST(PictureDecode, GifKeepsTheTransparentEntrysOwnColour) {
    const std::vector<uint32_t> palette = {0xFFFFFF, 0x000000, 0x3366CC};
    auto index = [](int x, int y) { return (x + 2 * y) % 3; };
    auto pic = decodePicture(samples::gif(6, 5, palette, index, 0), kGrey);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->width, 6);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(pic->at(x, y), palette[index(x, y)]);
}

TEST(PictureDecode, JpegComesOutClose) {
    auto pic = decodePicture(samples::jpeg(16, 8, [](int x, int) { return x < 8 ? 0xE02020u : 0x2020E0u; }), 0);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->width, 16);
    EXPECT_EQ(pic->height, 8);
    auto near = [](uint32_t a, uint32_t b) {
        for (int s = 0; s <= 16; s += 8)
            if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > 24) return false;
        return true;
    };
    EXPECT_TRUE(near(pic->at(2, 4), 0xE02020));
    EXPECT_TRUE(near(pic->at(13, 4), 0x2020E0));
}

TEST(PictureDecode, IconsAndCursorsAreDrawnOnWhite) {
    auto pixel = [](int x, int) { return x == 2 ? 0x00FF00u : 0x000000u; };
    auto masked = [](int x, int) { return x == 0; };
    for (bool cursor : {false, true}) {
        runtime::Bytes file = samples::icon(4, 2, pixel, masked, cursor);
        EXPECT_EQ(sniffPictureFormat(file), cursor ? PictureFormat::kCursor : PictureFormat::kIcon);
        auto pic = decodePicture(file, kGrey);
        ASSERT_TRUE(pic) << cursor;
        EXPECT_EQ(pic->width, 4);
        EXPECT_EQ(pic->height, 2);
        EXPECT_EQ(pic->at(0, 1), 0xFFFFFFu);  // masked black: the white below
        EXPECT_EQ(pic->at(1, 1), 0x000000u);
        EXPECT_EQ(pic->at(2, 0), 0x00FF00u);
    }
}

TEST(PictureDecode, PcxAndUnknownBytesAreNoPicture) {
    EXPECT_FALSE(decodePicture(bytesOf({0x0A, 5, 1, 8, 0, 0, 0, 0, 0, 0}), 0));
    EXPECT_FALSE(decodePicture(bytesOf({1, 2, 3, 4, 5, 6, 7, 8}), 0));
    EXPECT_FALSE(decodePicture({}, 0));
}

TEST(PictureDecode, HugeDeclaredSizesAreRefused) {
    runtime::Bytes file = samples::bmp24(2, 2, [](int, int) { return 0u; });
    // Claim 100000 x 100000 pixels in the header.
    for (size_t at : {18u, 22u}) file[at] = 0xA0, file[at + 1] = 0x86, file[at + 2] = 0x01, file[at + 3] = 0;
    EXPECT_FALSE(decodePicture(file, 0));
}

// Every prefix and a run of seeded corruptions of each format must give a
// picture or none, never a crash or a read past the bytes (run this under
// the sanitizer build to see the latter).
TEST(PictureDecode, TruncatedAndCorruptFilesNeverCrash) {
    auto pixel = [](int x, int y) { return runtime::pixelRgb(x * 30, y * 30, 90); };
    auto index = [](int x, int y) { return (x * y) % 4; };
    const std::vector<uint32_t> palette = {0, 0xFFFFFF, 0xFF0000, 0x00FF00};
    const runtime::Bytes files[] = {
        samples::bmp24(7, 5, pixel),
        samples::bmpPalette(7, 5, 4, palette, index),
        samples::png(7, 5, [&](int x, int y) { return 0x80000000u | pixel(x, y); }),
        samples::gif(7, 5, palette, index, 1),
        samples::jpeg(7, 5, pixel),
        samples::icon(7, 5, pixel, [](int x, int) { return x % 2 == 0; }),
    };
    std::mt19937 random(12345);
    int decoded = 0;
    for (const runtime::Bytes& file : files) {
        ASSERT_TRUE(decodePicture(file, 0));
        for (size_t n = 0; n < file.size(); ++n) {
            auto pic = decodePicture(runtime::Bytes(file.begin(), file.begin() + n), 0);
            if (pic) {
                ++decoded;
                EXPECT_EQ(pic->pixels.size(), size_t(pic->width) * pic->height);
            }
        }
        for (int round = 0; round < 300; ++round) {
            runtime::Bytes bad = file;
            for (int i = 0; i < 4; ++i) bad[random() % bad.size()] = static_cast<uint8_t>(random());
            auto pic = decodePicture(bad, 0);
            if (pic) EXPECT_EQ(pic->pixels.size(), size_t(pic->width) * pic->height);
        }
    }
    // A truncated JPEG still shows what it has; most prefixes of the others
    // do not decode at all.
    EXPECT_GT(decoded, 0);
}

}  // namespace

#include "runtime/picture/decoders.h"

namespace {

// The decoders must not lean on the sniffing that refuses short inputs.
TEST(PictureDecode, EachDecoderRefusesEmptyAndTinyInputsOnItsOwn) {
    for (size_t n : {0u, 1u, 5u}) {
        runtime::Bytes tiny(n, 0x47);
        EXPECT_FALSE(runtime::decoders::gif(tiny)) << n;
        EXPECT_FALSE(runtime::decoders::bitmap(tiny)) << n;
        EXPECT_FALSE(runtime::decoders::jpeg(tiny)) << n;
        EXPECT_FALSE(runtime::decoders::icon(tiny)) << n;
        EXPECT_FALSE(runtime::decoders::png(tiny.data(), tiny.size(), 0)) << n;
    }
}

}  // namespace

#include "runtime/picture_pixbuf.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// Every pixel of the picture, row by row.
std::vector<uint32_t> pixelsOf(const runtime::Picture& p) { return p.pixels; }

TEST(GifFirstFrame, BackgroundComesFromTheGlobalPaletteWhateverTheFramesOwn) {
    samples::GifLayout l;
    l.screenWidth = 3, l.screenHeight = 1, l.background = 1;
    l.globalPalette = {kRed, kGreen};
    l.width = 1, l.height = 1;
    l.localPalette = {kBlue, kWhite};
    auto pic = decodePicture(samples::gif(l, [](int, int) { return 0; }), 0);
    ASSERT_TRUE(pic);
    // The frame's pixel from its own palette; the rest of the screen shows
    // global entry 1, not local entry 1.
    EXPECT_EQ(pixelsOf(*pic), (std::vector<uint32_t>{kBlue, kGreen, kGreen}));
}

TEST(GifFirstFrame, FramesAreClippedToTheScreenAndInterlacedRowsLandInPlace) {
    samples::GifLayout l;
    l.screenWidth = 4, l.screenHeight = 4;
    l.globalPalette = {0, kRed, kGreen, kBlue};
    l.left = 2, l.top = 2, l.width = 4, l.height = 4;
    auto index = [](int x, int y) { return 1 + (x + y) % 3; };
    for (bool interlaced : {false, true}) {
        l.interlaced = interlaced;
        auto pic = decodePicture(samples::gif(l, index), 0);
        ASSERT_TRUE(pic) << interlaced;
        ASSERT_EQ(pic->width, 4);
        const std::vector<uint32_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kRed, kGreen, 0, 0, kGreen, kBlue};
        EXPECT_EQ(pixelsOf(*pic), expected) << interlaced;
    }
    // Eight interlaced rows fill all four passes.
    l = {};
    l.screenWidth = 1, l.screenHeight = 8, l.globalPalette = {0, kRed, kGreen, kBlue};
    l.width = 1, l.height = 8, l.interlaced = true;
    auto pic = decodePicture(samples::gif(l, [](int, int y) { return 1 + y % 3; }), 0);
    ASSERT_TRUE(pic);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(pic->at(0, y), (std::vector<uint32_t>{kRed, kGreen, kBlue})[y % 3]) << y;
}

TEST(GifFirstFrame, AFrameFarOffTheScreenIsNeverDecoded) {
    // 8000 x 2000 pixels placed 60000 px away: the picture is the screen's
    // background, and the frame's pixel data is not even read (cut off
    // here, it would otherwise fail the whole picture).
    samples::GifLayout l;
    l.screenWidth = 4, l.screenHeight = 3, l.background = 1;
    l.globalPalette = {kRed, kGreen};
    l.left = 60000, l.top = 60000, l.width = 8000, l.height = 2000;
    runtime::Bytes file = samples::gif(l, [](int, int) { return 0; });
    const runtime::Bytes descriptorOnly(file.begin(), file.begin() + 6 + 7 + 6 + 10 + 1);
    for (const runtime::Bytes& bytes : {file, descriptorOnly}) {
        auto pic = decodePicture(bytes, 0);
        ASSERT_TRUE(pic) << bytes.size();
        EXPECT_EQ(pixelsOf(*pic), std::vector<uint32_t>(12, kGreen)) << bytes.size();
    }
}

TEST(GifFirstFrame, HugeScreensAndFramesAreRefusedAndLaterFramesIgnored) {
    samples::GifLayout l;
    l.globalPalette = {kRed, kGreen};
    l.screenWidth = 40000, l.screenHeight = 1, l.width = 1, l.height = 1;
    EXPECT_FALSE(decodePicture(samples::gif(l, [](int, int) { return 0; }), 0));
    // A frame over the size limits is refused before its rows are read,
    // even on a small screen.
    l.screenWidth = 10, l.screenHeight = 10, l.width = 9000, l.height = 1;
    EXPECT_FALSE(decodePicture(samples::gif(l, [](int, int) { return 0; }), 0));
    // Only the first frame is read: a broken second one does not matter.
    l.width = 2, l.height = 2, l.frames = 2;
    runtime::Bytes two = samples::gif(l, [](int x, int) { return x; });
    two.resize(two.size() - 4);
    auto pic = decodePicture(two, 0);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->at(0, 0), kRed);
    EXPECT_EQ(pic->at(1, 1), kGreen);
}

runtime::Bytes textBytes(const std::string& s) { return runtime::Bytes(s.begin(), s.end()); }

TEST(PicturePixbuf, OnlyTheProgramsFormatsAreDecoded) {
    // Formats a general image loader would take are no picture here.
    const runtime::Bytes others[] = {
        textBytes("<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
                  "<rect width='4' height='4' fill='red'/></svg>"),
        textBytes("/* XPM */\nstatic char *x[] = {\"2 1 1 1\", \"a c #FF0000\", \"aa\"};\n"),
        bytesOf({'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}),  // TIFF
        bytesOf({'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0}),
        bytesOf({0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}),  // TGA
    };
    for (const runtime::Bytes& b : others) {
        EXPECT_FALSE(runtime::decodePixbuf(b)) << std::string(b.begin(), b.begin() + 4);
        EXPECT_FALSE(runtime::decodePictureKeepingAlpha(b));
    }
}

TEST(PicturePixbuf, KnownFormatsGiveTheButtonsPixelsAndPngKeepsItsAlpha) {
    runtime::Bytes gif = samples::gif(2, 1, {kRed, kBlue}, [](int x, int) { return x; });
    auto opaque = runtime::decodePixbuf(gif);
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(gdk_pixbuf_get_has_alpha(opaque.get()));
    const guchar* p = gdk_pixbuf_read_pixels(opaque.get());
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3], p[4], p[5]}), (std::vector<int>{255, 0, 0, 0, 0, 255}));

    runtime::Bytes png = samples::png(2, 1, [](int x, int) { return x == 0 ? 0x00FF0000u : 0xFF00FF00u; });
    auto clear = runtime::decodePixbuf(png);
    ASSERT_TRUE(clear);
    ASSERT_TRUE(gdk_pixbuf_get_has_alpha(clear.get()));
    const guchar* q = gdk_pixbuf_read_pixels(clear.get());
    EXPECT_EQ(q[3], 0);
    EXPECT_EQ((std::vector<int>{q[4], q[5], q[6], q[7]}), (std::vector<int>{0, 255, 0, 255}));
    // Buttons still get it blended over the colour they stand on.
    auto blended = decodePicture(png, runtime::rgb(0, 0, 255));
    ASSERT_TRUE(blended);
    EXPECT_EQ(pixelsOf(*blended), (std::vector<uint32_t>{kBlue, kGreen}));
    EXPECT_TRUE(blended->alpha.empty());
}

}  // namespace
