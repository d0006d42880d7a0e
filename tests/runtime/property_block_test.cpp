#include "runtime/property_block.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/log_font.h"

#include <pango/pango.h>

#include <gtest/gtest.h>

namespace {

TEST(PropertyBlock, RoundTripsFieldsBytesAndGbkText) {
    runtime::BlockWriter w;
    w.u32(1).i32(-5).bytes({1, 2, 3}).text("热搜：");
    runtime::Bytes data = w.take();
    // The text is stored as GBK: 6 bytes for three characters.
    EXPECT_EQ(data.size(), 4u + 4u + 4u + 3u + 4u + 6u);
    runtime::BlockReader r(data);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_EQ(r.i32(), -5);
    EXPECT_EQ(r.bytes(), (runtime::Bytes{1, 2, 3}));
    EXPECT_EQ(r.text(), "热搜：");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(PropertyBlock, TruncatedOrLyingLengthsAreRefused) {
    runtime::BlockWriter w;
    w.u32(1).u32(0xFFFFFFF0u);  // a byte block claiming far more than there is
    runtime::Bytes data = w.take();
    runtime::BlockReader r(data);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_FALSE(r.bytes());
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.u32());  // stays bad

    runtime::Bytes shortBlock{1, 0};
    runtime::BlockReader r2(shortBlock);
    EXPECT_FALSE(r2.u32());
}

TEST(PropertyBlock, BuiltinKindsRejectNewerVersionsAndTruncation) {
    runtime::LabelBlock label;
    label.caption = "标题";
    runtime::Bytes good = label.serialize();
    auto parsed = runtime::LabelBlock::parse(good);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->caption, "标题");

    runtime::Bytes newer = good;
    newer[0] = 2;
    EXPECT_FALSE(runtime::LabelBlock::parse(newer));

    runtime::Bytes truncated(good.begin(), good.end() - 3);
    EXPECT_FALSE(runtime::LabelBlock::parse(truncated));

    // No block at all means the defaults.
    EXPECT_TRUE(runtime::TimerBlock::parse({}));
}

TEST(LogFont, SixtyBytesRoundTripAndMapToPixels) {
    runtime::LogFont f = runtime::LogFont::make("长城黑体", 13, true);
    runtime::Bytes b = f.serialize();
    ASSERT_EQ(b.size(), 60u);
    auto back = runtime::LogFont::parse(b);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->faceName, "长城黑体");
    EXPECT_EQ(back->height, -13);
    EXPECT_EQ(back->weight, 700);
    EXPECT_EQ(back->charSet, runtime::LogFont::kGb2312Charset);
    EXPECT_EQ(back->pixelHeight(), 13);
    EXPECT_FALSE(runtime::LogFont::parse(runtime::Bytes(59, 0)));
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
