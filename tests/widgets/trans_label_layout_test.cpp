#include <gtest/gtest.h>

#include "runtime/log_font.h"
#include "runtime/property_block.h"
#include "widgets/trans_label_block.h"
#include "widgets/trans_label_layout.h"

using widgets::TextPass;
using widgets::TransLabelBlock;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080;

TEST(TransLabelPasses, EachEffectsOffsetsAndColours) {
    EXPECT_EQ(widgets::textPasses(0, kGrey), (std::vector<TextPass>{{0, 0, kGrey}}));
    EXPECT_EQ(widgets::textPasses(1, kGrey), (std::vector<TextPass>{{1, 1, kWhite}, {0, 0, kGrey}}));
    // Raised: the coloured text one pixel right of and below its white copy.
    EXPECT_EQ(widgets::textPasses(2, 0), (std::vector<TextPass>{{0, 0, kWhite}, {1, 1, 0}}));
    EXPECT_EQ(widgets::textPasses(3, kGrey), (std::vector<TextPass>{{2, 2, 0}, {0, 0, kGrey}}));
    EXPECT_EQ(widgets::textPasses(7, kGrey), widgets::textPasses(3, kGrey));
    EXPECT_EQ(widgets::textPasses(-1, kGrey), widgets::textPasses(0, kGrey));
}

TEST(TransLabelLayout, AlignmentsOfOneLine) {
    struct Row {
        int h, v;
        widgets::TextOrigin expected;
    };
    // A 41 x 13 text in a 100 x 20 label.
    const Row rows[] = {
        {0, 0, {0, 0}},
        {1, 1, {29, 3}},
        {2, 2, {59, 7}},
        {9, -4, {59, 0}},
        {-1, 5, {0, 7}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(widgets::textOrigin(r.h, r.v, false, 100, 20, 41, 13), r.expected) << r.h << " " << r.v;
    // A text wider than the label: centring goes negative, cut toward zero.
    EXPECT_EQ(widgets::textOrigin(1, 0, false, 10, 20, 15, 13).x, -2);
}

TEST(TransLabelLayout, WrappedTextStaysAtTheTop) {
    EXPECT_EQ(widgets::textOrigin(2, 1, true, 100, 60, 80, 26), (widgets::TextOrigin{0, 0}));
    EXPECT_EQ(widgets::textOrigin(0, 2, true, 100, 60, 80, 26), (widgets::TextOrigin{0, 0}));
}

TEST(TransLabelBlock, RoundTripWithFontAndChineseText) {
    TransLabelBlock b;
    b.effect = 1;
    b.textColour = kGrey;
    b.horizontalAlign = 2;
    b.verticalAlign = 1;
    b.wordWrap = 0;
    b.font = runtime::LogFont::make("长城黑体", 13).serialize();
    b.text = "热搜：";
    runtime::Bytes bytes = b.serialize();
    // version, effect, colour, h-align, v-align, wrap, font length
    const runtime::Bytes head = {
        1, 0, 0, 0, 1, 0, 0, 0, 0x80, 0x80, 0x80, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 0};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    // The text is stored in GBK: six bytes, no terminator, at the end.
    const runtime::Bytes tail = {6, 0, 0, 0, 0xC8, 0xC8, 0xCB, 0xD1, 0xA3, 0xBA};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<long>(tail.size())));
    auto back = TransLabelBlock::parse(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, "热搜：");
    EXPECT_EQ(back->font, b.font);
    EXPECT_EQ(back->effect, 1);
    EXPECT_EQ(back->verticalAlign, 1);
}

TEST(TransLabelBlock, ClampsAndRefuses) {
    runtime::Bytes bytes = runtime::BlockWriter().u32(1).i32(9).u32(0).i32(-2).i32(5).i32(1).bytes({}).text("a").take();
    auto b = TransLabelBlock::parse(bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->effect, 3);
    EXPECT_EQ(b->horizontalAlign, 0);
    EXPECT_EQ(b->verticalAlign, 2);
    runtime::Bytes newer = bytes;
    newer[0] = 2;
    EXPECT_FALSE(TransLabelBlock::parse(newer));
    for (size_t n = 1; n < bytes.size(); ++n)
        EXPECT_FALSE(TransLabelBlock::parse(runtime::Bytes(bytes.begin(), bytes.begin() + n)));
    EXPECT_TRUE(TransLabelBlock::parse({}));
}

}  // namespace
