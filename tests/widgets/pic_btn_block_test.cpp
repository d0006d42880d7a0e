#include <gtest/gtest.h>

#include "picture_samples.h"
#include "runtime/property_block.h"
#include "widgets/pic_btn_block.h"
#include "widgets/pic_btn_shape.h"

using widgets::PicBtnBlock;

namespace {

TEST(PicBtnBlock, RoundTripsAndHasTheStoredLayout) {
    PicBtnBlock b;
    b.type = 1;
    b.latched = true;
    b.transparentColour = 0x00FFFFFF;
    b.pictures[widgets::pic_btn::kNormal] = {1, 2, 3};
    b.pictures[widgets::pic_btn::kDisabled] = {9};
    runtime::Bytes bytes = b.serialize();
    const runtime::Bytes head = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 3, 0, 0, 0, 1, 2, 3};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    auto back = PicBtnBlock::parse(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->type, 1);
    EXPECT_TRUE(back->latched);
    EXPECT_EQ(back->transparentColour, 0x00FFFFFFu);
    EXPECT_EQ(back->pictures, b.pictures);
}

TEST(PicBtnBlock, RefusesNewerVersionsAndTruncatedBlocks) {
    runtime::Bytes bytes = PicBtnBlock{}.serialize();
    EXPECT_TRUE(PicBtnBlock::parse(bytes));
    runtime::Bytes newer = bytes;
    newer[0] = 2;
    EXPECT_FALSE(PicBtnBlock::parse(newer));
    for (size_t n = 1; n < bytes.size(); ++n)
        EXPECT_FALSE(PicBtnBlock::parse(runtime::Bytes(bytes.begin(), bytes.begin() + n))) << n;
    auto defaults = PicBtnBlock::parse({});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->transparentColour, widgets::pic_btn::kNoTransparentColour);
}

TEST(PicBtnBlock, ClampsTheButtonType) {
    runtime::Bytes bytes =
        runtime::BlockWriter().u32(1).i32(5).u32(0).u32(0).bytes({}).bytes({}).bytes({}).bytes({}).take();
    EXPECT_EQ(PicBtnBlock::parse(bytes)->type, 1);
    bytes = runtime::BlockWriter().u32(1).i32(-5).u32(0).u32(0).bytes({}).bytes({}).bytes({}).bytes({}).take();
    EXPECT_EQ(PicBtnBlock::parse(bytes)->type, 0);
}

TEST(PicBtnShape, RunsOfNonTransparentPixelsPerRow) {
    // .X.XX
    // XXXXX
    // .....
    runtime::Picture p{5, 3, {}};
    const char* rows[] = {".X.XX", "XXXXX", "....."};
    for (const char* r : rows)
        for (int x = 0; x < 5; ++x) p.pixels.push_back(r[x] == 'X' ? 0x102030 : 0xFFFFFF);
    auto spans = widgets::opaqueSpans(p, 0x00FFFFFF);
    std::vector<widgets::Span> expected = {{1, 0, 1}, {3, 0, 2}, {0, 1, 5}};
    EXPECT_EQ(spans, expected);
    EXPECT_TRUE(widgets::spansContain(spans, 4, 0));
    EXPECT_FALSE(widgets::spansContain(spans, 2, 0));
    EXPECT_FALSE(widgets::spansContain(spans, 0, 2));
}

TEST(PicBtnShape, NoShapeWithoutColourOrPicture) {
    runtime::Picture p{1, 1, {0}};
    EXPECT_FALSE(widgets::buttonShape(&p, widgets::pic_btn::kNoTransparentColour));
    EXPECT_FALSE(widgets::buttonShape(nullptr, 0));
    auto all = widgets::buttonShape(&p, 0);  // everything cut away: an empty shape, not none
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->empty());
}

// The colour order matters: 0x00BBGGRR against the decoded 0x00RRGGBB.
TEST(PicBtnShape, TransparentColourIsInStoredOrder) {
    runtime::Picture p{2, 1, {0xFF0000, 0x0000FF}};    // red, blue
    auto spans = widgets::opaqueSpans(p, 0x000000FF);  // red in stored order
    EXPECT_EQ(spans, (std::vector<widgets::Span>{{1, 0, 1}}));
}

TEST(PicBtnShape, NewTabPictureLosesItsWhitePixels) {
    runtime::Bytes file = samples::asset("new_tab_normal.gif");
    if (file.empty()) GTEST_SKIP() << "artwork not present";
    auto pic = runtime::decodePicture(file, 0x00ECECEC);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->width, 14);
    EXPECT_EQ(pic->height, 14);
    auto spans = *widgets::buttonShape(&*pic, 0x00FFFFFF);
    int white = 0;
    for (int y = 0; y < pic->height; ++y)
        for (int x = 0; x < pic->width; ++x) {
            bool isWhite = pic->at(x, y) == 0xFFFFFF;
            white += isWhite;
            EXPECT_EQ(widgets::spansContain(spans, x, y), !isWhite) << x << "," << y;
        }
    EXPECT_GT(white, 0);
}

}  // namespace
