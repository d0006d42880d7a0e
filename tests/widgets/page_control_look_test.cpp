// Tab control colour arithmetic, scroll-button artwork and the persisted
// property block.
#include <gtest/gtest.h>

#include "runtime/property_block.h"
#include "widgets/page_control.h"
#include "widgets/page_control/look.h"

namespace widgets::page_control {
namespace {

TEST(PageControlLook, LightenCutsTheFractionOff) {
    EXPECT_EQ(lighten(0x00D7D7D7), 0x00F3F3F3u);  // 215 + 28
    EXPECT_EQ(lighten(0x00000000), 0x00B2B2B2u);  // 178.5 -> 178
    EXPECT_EQ(lighten(0x000000FF), 0x00B2B2FFu);
    EXPECT_EQ(lighten(page_control::kSystemFace), lighten(kButtonFace));
}

TEST(PageControlLook, GradientBandsUseIntegerArithmetic) {
    auto bands = gradientBands(20, 0x00FFFFFF, 0x00D7D7D7);
    // Height 20 leaves 44 of the 64 bands empty.
    ASSERT_EQ(bands.size(), 20u);
    EXPECT_EQ(bands.front().top, 0);
    EXPECT_EQ(bands.front().colour, 0x00FEFEFEu);  // band 3: 255 - 120 / 64
    EXPECT_EQ(bands.back().top, 19);
    EXPECT_EQ(bands.back().bottom, 20);
    // Band 63: 255 + (-40 * 63) / 64 truncates toward zero: 216, not 215.
    EXPECT_EQ(bands.back().colour, 0x00D8D8D8u);
    // Channels move separately.
    auto mixed = gradientBands(64, 0x00000000, 0x00FF0040);
    EXPECT_EQ(mixed.size(), 64u);
    EXPECT_EQ(mixed[32].colour, 0x007F0020u);
    EXPECT_TRUE(gradientBands(0, 0, 0).empty());
}

TEST(PageControlLook, HeaderColoursOfTheFormConfiguration) {
    Palette p = Palette::fromBlock(PageControlBlock::form());
    PageControlPage page;
    HeaderColours n = headerColours(p, page, HeaderState::kNormal, true);
    EXPECT_EQ(n.base, 0x00D7D7D7u);
    EXPECT_EQ(n.outer, 0x00FFFFFFu);
    EXPECT_TRUE(n.gradient);
    EXPECT_EQ(n.border, 0x00C8C8C8u);
    EXPECT_EQ(n.text, 0x009D9D9Du);
    EXPECT_EQ(headerColours(p, page, HeaderState::kHot, true).text, 0x00FF0000u);
    EXPECT_EQ(headerColours(p, page, HeaderState::kSelected, true).base, 0x00FFFFFFu);
    EXPECT_EQ(headerColours(p, page, HeaderState::kNormal, false).text, kDisabledText);

    // Without explicit outer colours the base is lightened; a page's own colour wins.
    p.explicitOuter = false;
    page.colour[0] = 0x00000080;
    HeaderColours own = headerColours(p, page, HeaderState::kNormal, true);
    EXPECT_EQ(own.base, 0x00000080u);
    EXPECT_EQ(own.outer, lighten(0x00000080));
    EXPECT_EQ(openingLineColour(p, PageControlPage{}), 0x00FFFFFFu);
    EXPECT_EQ(pageAreaFill(p, nullptr), kButtonFace);
    EXPECT_EQ(pageAreaFill(p, &page), 0x00ECECECu);
}

TEST(PageControlLook, ThemesAndSystemColours) {
    Palette p;  // the control's defaults: theme 1, system colours
    PageControlPage page;
    HeaderColours c = headerColours(p, page, HeaderState::kNormal, true);
    EXPECT_TRUE(c.gradient);
    EXPECT_NE(c.base, kButtonFace);
    p.theme = 0;
    c = headerColours(p, page, HeaderState::kNormal, true);
    EXPECT_FALSE(c.gradient);
    EXPECT_EQ(c.base, kButtonFace);
    EXPECT_EQ(c.background, kButtonFace);
    EXPECT_EQ(c.border, 0x00B4A791u);
}

TEST(PageControlLook, ScrollArtworkHasEightFramedImages) {
    auto px = scrollArtwork();
    ASSERT_EQ(px.size(), static_cast<size_t>(kArtWidth * kArtHeight));
    auto at = [&](int image, int x, int y) { return px[static_cast<size_t>(y * kArtWidth + image * 13 + x)]; };
    for (int image = 0; image < 8; ++image) {
        EXPECT_EQ(at(image, 0, 0), kMaskColour);
        EXPECT_EQ(at(image, 12, 12), kMaskColour);
        EXPECT_NE(at(image, 6, 1), kMaskColour);
    }
    // Left chevron tip at column 4, the right one mirrored.
    EXPECT_EQ(at(0, 4, 6), at(0, 7, 9));
    EXPECT_NE(at(0, 4, 6), at(0, 10, 6));
    EXPECT_EQ(at(4, 8, 6), at(0, 4, 6));
    // Normal is bluish; disabled is grey throughout.
    uint32_t normalFace = at(0, 10, 10), disabledFace = at(3, 10, 10);
    EXPECT_GT((normalFace >> 16) & 0xFF, normalFace & 0xFF);
    EXPECT_EQ(disabledFace & 0xFF, (disabledFace >> 16) & 0xFF);
    EXPECT_NE(at(1, 10, 10), normalFace);  // hot differs
    EXPECT_NE(at(2, 10, 10), normalFace);  // pressed differs
}

TEST(PageControlBlock, FormRoundTripsAndHoldsItsValues) {
    PageControlBlock form = PageControlBlock::form();
    auto back = PageControlBlock::parse(form.serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->serialize(), form.serialize());
    EXPECT_EQ(back->headerPosition, 1);
    ASSERT_TRUE(back->font);
    EXPECT_EQ(back->font->faceName, "宋体");
    EXPECT_EQ(back->font->height, -13);
    EXPECT_EQ(back->font->charSet, 134);
    ASSERT_EQ(back->pages.size(), 1u);
    EXPECT_EQ(back->pages[0].caption, "载入..");
    EXPECT_EQ(back->pages[0].colour[2], page_control::kNoColour);
    EXPECT_EQ(back->fill[0], 0x00D7D7D7u);
    EXPECT_TRUE(back->noHotOnSelected);
}

TEST(PageControlBlock, BadBlocksAreRefusedOrBroughtIntoRange) {
    EXPECT_TRUE(PageControlBlock::parse({}));
    EXPECT_EQ(PageControlBlock::parse({})->theme, 1);

    runtime::Bytes good = PageControlBlock::form().serialize();
    runtime::Bytes truncated(good.begin(), good.end() - 3);
    EXPECT_FALSE(PageControlBlock::parse(truncated));
    runtime::Bytes newer = good;
    newer[0] = 2;
    EXPECT_FALSE(PageControlBlock::parse(newer));

    PageControlBlock odd = PageControlBlock::form();
    odd.headerPosition = 9;
    odd.headerHeight = 1 << 30;
    odd.theme = -4;
    auto fixed = PageControlBlock::parse(odd.serialize());
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->headerPosition, 0);
    EXPECT_LE(fixed->headerHeight, 512);
    EXPECT_EQ(fixed->theme, 0);

    // A page count far beyond the bytes that follow is refused, not trusted.
    runtime::BlockWriter w;
    w.u32(1).u32(0xFFFFFFF0u);
    EXPECT_FALSE(PageControlBlock::parsePages(w.data()));
}

TEST(PageControlBlock, ImageListStreams) {
    ImageListStream s{16, 15, 0x00FF00FF, runtime::Bytes{1, 2, 3}};
    auto back = ImageListStream::parse(s.serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->imageWidth, 16);
    EXPECT_EQ(back->picture, (runtime::Bytes{1, 2, 3}));
    s.imageWidth = 0;
    EXPECT_FALSE(ImageListStream::parse(s.serialize()));
    EXPECT_FALSE(ImageListStream::parse({}));
}

}  // namespace
}  // namespace widgets::page_control
