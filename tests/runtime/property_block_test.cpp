#include "runtime/property_block.h"
#include "runtime/log_font.h"
#include "runtime/kinds/builtin_kinds.h"

#include <pango/pango.h>

#include <gtest/gtest.h>

namespace {

TEST(PropertyBlock, RoundTripsFieldsBytesAndGbkText) {
    rt::BlockWriter w;
    w.u32(1).i32(-5).bytes({1, 2, 3}).text("热搜：");
    rt::Bytes data = w.take();
    // The text is stored as GBK: 6 bytes for three characters.
    EXPECT_EQ(data.size(), 4u + 4u + 4u + 3u + 4u + 6u);
    rt::BlockReader r(data);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_EQ(r.i32(), -5);
    EXPECT_EQ(r.bytes(), (rt::Bytes{1, 2, 3}));
    EXPECT_EQ(r.text(), "热搜：");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(PropertyBlock, TruncatedOrLyingLengthsAreRefused) {
    rt::BlockWriter w;
    w.u32(1).u32(0xFFFFFFF0u);  // a byte block claiming far more than there is
    rt::Bytes data = w.take();
    rt::BlockReader r(data);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_FALSE(r.bytes());
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.u32());  // stays bad

    rt::Bytes shortBlock{1, 0};
    rt::BlockReader r2(shortBlock);
    EXPECT_FALSE(r2.u32());
}

TEST(PropertyBlock, BuiltinKindsRejectNewerVersionsAndTruncation) {
    rt::LabelBlock label;
    label.caption = "标题";
    rt::Bytes good = label.serialize();
    auto parsed = rt::LabelBlock::parse(good);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->caption, "标题");

    rt::Bytes newer = good;
    newer[0] = 2;
    EXPECT_FALSE(rt::LabelBlock::parse(newer));

    rt::Bytes truncated(good.begin(), good.end() - 3);
    EXPECT_FALSE(rt::LabelBlock::parse(truncated));

    // No block at all means the defaults.
    EXPECT_TRUE(rt::TimerBlock::parse({}));
}

TEST(LogFont, SixtyBytesRoundTripAndMapToPixels) {
    rt::LogFont f = rt::LogFont::make("长城黑体", 13, true);
    rt::Bytes b = f.serialize();
    ASSERT_EQ(b.size(), 60u);
    auto back = rt::LogFont::parse(b);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->faceName, "长城黑体");
    EXPECT_EQ(back->height, -13);
    EXPECT_EQ(back->weight, 700);
    EXPECT_EQ(back->charSet, rt::LogFont::kGb2312Charset);
    EXPECT_EQ(back->pixelHeight(), 13);
    EXPECT_FALSE(rt::LogFont::parse(rt::Bytes(59, 0)));
    // The character set names the text's language, which picks the CJK face.
    EXPECT_STREQ(back->language(), "zh-cn");
    back->charSet = 136;
    EXPECT_STREQ(back->language(), "zh-tw");

    PangoFontDescription* d = back->toPango();
    EXPECT_EQ(pango_font_description_get_size(d), 13 * PANGO_SCALE);
    EXPECT_TRUE(pango_font_description_get_size_is_absolute(d));
    pango_font_description_free(d);
}

}  // namespace
