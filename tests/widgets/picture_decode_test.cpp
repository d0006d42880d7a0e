#include <gtest/gtest.h>

#include <random>

#include "picture_samples.h"
#include "runtime/colour.h"
#include "runtime/picture/picture.h"

using rt::decodePicture;
using rt::PictureFormat;
using rt::sniffPictureFormat;

namespace {

constexpr uint32_t kGrey = 0x00C0C0C0;

rt::Bytes bytesOf(std::initializer_list<int> v) { return rt::Bytes(v.begin(), v.end()); }

TEST(PictureSniff, FormatsFromTheirFirstBytes) {
    struct Row {
        const char* name;
        rt::Bytes bytes;
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
    auto pixel = [](int x, int y) { return rt::pixelRgb(x * 40, y * 60, 7); };
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
    auto pic = decodePicture(samples::png(3, 1, [&](int x, int) { return argb[x]; }), rt::rgb(0x20, 0x40, 0xC0));
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->at(0, 0), 0xFF0000u);
    // 0x80 of 0xFF over the background: (128*c + 127*bg) / 255.
    EXPECT_EQ(pic->at(1, 0), rt::pixelRgb(0x10, 0x20, 0xE0));
    EXPECT_EQ(pic->at(2, 0), rt::pixelRgb(0x20, 0x40, 0xC0));
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
        rt::Bytes file = samples::icon(4, 2, pixel, masked, cursor);
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
    rt::Bytes file = samples::bmp24(2, 2, [](int, int) { return 0u; });
    // Claim 100000 x 100000 pixels in the header.
    for (size_t at : {18u, 22u}) file[at] = 0xA0, file[at + 1] = 0x86, file[at + 2] = 0x01, file[at + 3] = 0;
    EXPECT_FALSE(decodePicture(file, 0));
}

// Every prefix and a run of seeded corruptions of each format must give a
// picture or none, never a crash or a read past the bytes (run this under
// the sanitizer build to see the latter).
TEST(PictureDecode, TruncatedAndCorruptFilesNeverCrash) {
    auto pixel = [](int x, int y) { return rt::pixelRgb(x * 30, y * 30, 90); };
    auto index = [](int x, int y) { return (x * y) % 4; };
    const std::vector<uint32_t> palette = {0, 0xFFFFFF, 0xFF0000, 0x00FF00};
    const rt::Bytes files[] = {
        samples::bmp24(7, 5, pixel),
        samples::bmpPalette(7, 5, 4, palette, index),
        samples::png(7, 5, [&](int x, int y) { return 0x80000000u | pixel(x, y); }),
        samples::gif(7, 5, palette, index, 1),
        samples::jpeg(7, 5, pixel),
        samples::icon(7, 5, pixel, [](int x, int) { return x % 2 == 0; }),
    };
    std::mt19937 random(12345);
    int decoded = 0;
    for (const rt::Bytes& file : files) {
        ASSERT_TRUE(decodePicture(file, 0));
        for (size_t n = 0; n < file.size(); ++n) {
            auto pic = decodePicture(rt::Bytes(file.begin(), file.begin() + n), 0);
            if (pic) {
                ++decoded;
                EXPECT_EQ(pic->pixels.size(), size_t(pic->width) * pic->height);
            }
        }
        for (int round = 0; round < 300; ++round) {
            rt::Bytes bad = file;
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
        rt::Bytes tiny(n, 0x47);
        EXPECT_FALSE(rt::decoders::gif(tiny)) << n;
        EXPECT_FALSE(rt::decoders::bitmap(tiny)) << n;
        EXPECT_FALSE(rt::decoders::jpeg(tiny)) << n;
        EXPECT_FALSE(rt::decoders::icon(tiny)) << n;
        EXPECT_FALSE(rt::decoders::png(tiny.data(), tiny.size(), 0)) << n;
    }
}

}  // namespace
