// Paints the main window's tab control (form values, two pages "载入..",
// the first selected) into an image and checks the pixels the look is
// made of: the frame, the gradient of a normal header, the opening under
// the selected header, and the header cache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_samples.h"
#include "runtime/colour.h"
#include "widgets/page_control.h"
#include "widgets/page_control/painter.h"

namespace widgets::page_control {
namespace {

class PainterHost : public Host {
public:
    Painter* painter = nullptr;
    int notify(int, int) override { return 0; }
    void invalidate() override {}
    int measureContent(const Page& p) override { return painter->measureContent(p); }
};

struct Scene {
    static constexpr int kWidth = 664, kHeight = 280;
    PageControlBlock form = PageControlBlock::form();
    Painter painter;
    PainterHost host;
    Model model{host};
    PaintOptions options;
    Surface image{cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight)};

    explicit Scene(int position, const std::string& second = "载入..") {
        host.painter = &painter;
        painter.setFont(form.font);
        model.setSize(kWidth, kHeight);
        model.setPosition(position);
        model.setFontHeight(painter.fontPixelHeight());
        model.setHeaderHeight(form.headerHeight);
        model.setNoHotOnSelected(form.noHotOnSelected);
        model.setPages(form.pages, false);
        model.addPage(PageControlPage{.caption = second});
        options.palette = Palette::fromBlock(form);
        paint();
    }

    void paint() {
        runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(image.get()));
        painter.paint(cr.get(), model, options);
        cairo_surface_flush(image.get());
    }

    // Paints only `clip` over a magenta image, the way GTK repaints damage.
    void paintClipped(const Box& clip) {
        runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(image.get()));
        cairo_set_source_rgb(cr.get(), 1, 0, 1);
        cairo_paint(cr.get());
        cairo_rectangle(cr.get(), clip.left, clip.top, clip.width(), clip.height());
        cairo_clip(cr.get());
        painter.paint(cr.get(), model, options);
        cairo_surface_flush(image.get());
    }

    // The pixel as 0x00BBGGRR.
    uint32_t at(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(image.get());
        uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(image.get()) + x * 4);
        return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
};

constexpr uint32_t kBorder = 0x00C8C8C8, kPage = 0x00ECECEC, kWhite = 0x00FFFFFF;

TEST(PageControlRender, TopHeadersFrameAndOpening) {
    Scene s(0);
    const Box h1 = s.model.page(1).header;
    const Box area = s.model.pageArea();
    ASSERT_EQ(h1.top, 2);
    ASSERT_EQ(area.top, 22);
    // A normal header: row 1 in the band that covers it, the page-edge row in
    // band 63. Its left end lies under the enlarged selected header, so the
    // checks use its right end, right of any text.
    auto bands = gradientBands(20, kWhite, 0x00D7D7D7);
    EXPECT_EQ(s.at(h1.right - 3, h1.top + 1), bands[1].colour);
    EXPECT_EQ(s.at(h1.right - 3, h1.bottom - 1), 0x00D8D8D8u);
    // Outline and the cut corner.
    EXPECT_EQ(s.at(h1.right - 1, h1.top + 5), kBorder);
    EXPECT_EQ(s.at(h1.right - 5, h1.top), kBorder);
    EXPECT_EQ(s.at(h1.right - 1, h1.top), kPage);
    EXPECT_EQ(s.at(h1.right + 1, h1.top + 5), kPage);

    // Frame around the page area, interior in the page colour.
    EXPECT_EQ(s.at(0, 100), kBorder);
    EXPECT_EQ(s.at(Scene::kWidth - 1, 100), kBorder);
    EXPECT_EQ(s.at(300, Scene::kHeight - 1), kBorder);
    EXPECT_EQ(s.at(h1.left + 10, area.top), kBorder);
    EXPECT_EQ(s.at(300, 150), kPage);
    // The selected header opens into the page: its line is the selected fill.
    const Box sel = s.model.selectedRect();
    EXPECT_EQ(s.at(sel.left + 2, area.top), kWhite);
    EXPECT_EQ(s.at(sel.right - 2, area.top), kWhite);
    EXPECT_EQ(s.at(sel.left + 5, sel.top), kBorder);  // enlarged: 3 further out
    EXPECT_EQ(sel.top, 0);
}

TEST(PageControlRender, BottomHeadersAreFlipped) {
    Scene s(1);
    const Box h1 = s.model.page(1).header;
    const Box area = s.model.pageArea();
    ASSERT_EQ(area.bottom, Scene::kHeight - 22);
    EXPECT_EQ(s.at(h1.right - 3, h1.top), 0x00D8D8D8u);     // page edge now on top
    EXPECT_EQ(s.at(h1.right - 5, h1.bottom - 1), kBorder);  // outer edge at the bottom
    EXPECT_EQ(s.at(h1.left + 10, area.bottom - 1), kBorder);
    const Box sel = s.model.selectedRect();
    EXPECT_EQ(s.at(sel.left + 2, area.bottom - 1), kWhite);
}

TEST(PageControlRender, SideHeadersAreTurned) {
    // The second page has no caption, so no text stands in the way.
    Scene left(2, "");
    const Box h1 = left.model.page(1).header;
    EXPECT_EQ(left.at(h1.left, h1.bottom - 5), kBorder);  // outer edge faces left
    EXPECT_EQ(left.at(h1.right - 1, h1.bottom - 5), 0x00D8D8D8u);
    Scene right(3, "");
    const Box r1 = right.model.page(1).header;
    EXPECT_EQ(right.at(r1.right - 1, r1.bottom - 5), kBorder);  // outer edge faces right
    EXPECT_EQ(right.at(r1.left, r1.bottom - 5), 0x00D8D8D8u);
    const Box area = right.model.pageArea();
    EXPECT_EQ(right.at(area.right - 1, right.model.selectedRect().top + 10), kWhite);
}

TEST(PageControlRender, NormalHeadersAreCachedUntilTheirLookChanges) {
    Scene s(0);
    EXPECT_FALSE(s.model.page(1).lookDirty);
    EXPECT_TRUE(s.model.page(0).lookDirty);  // the selected header is never cached
    // A colour change marks every header dirty, and the next paint shows it.
    s.options.palette.fill[0] = 0x00000080;
    s.options.palette.explicitOuter = false;
    s.model.markAllDirty();
    s.paint();
    const Box h1 = s.model.page(1).header;
    EXPECT_EQ(s.at(h1.right - 3, h1.bottom - 1), gradientBands(20, lighten(0x00000080), 0x00000080).back().colour);
    EXPECT_FALSE(s.model.page(1).lookDirty);
}

// The selected header's copy is kept between paints, and a new caption (a
// page title arriving) is shown at the next paint, not the kept copy.
TEST(PageControlRender, TheSelectedHeaderShowsANewCaptionAtOnce) {
    Scene s(0);
    ASSERT_TRUE(s.model.setCaption(0, "甲乙"));
    s.paint();
    const Box h0 = s.model.page(0).header;
    auto headerPixels = [&](const Scene& scene) {
        std::vector<uint32_t> out;
        for (int y = h0.top; y < h0.bottom; ++y)
            for (int x = h0.left; x < h0.right; ++x) out.push_back(scene.at(x, y));
        return out;
    };
    const std::vector<uint32_t> before = headerPixels(s);
    s.paint();  // from the kept copy
    EXPECT_EQ(headerPixels(s), before);
    // Another caption of the same width: the header keeps its size, so only
    // the look says the copy is stale.
    ASSERT_TRUE(s.model.setCaption(0, "丙丁"));
    ASSERT_TRUE(s.model.page(0).header == h0);
    s.paint();
    EXPECT_NE(headerPixels(s), before) << "the selected header still shows its old caption";
    Scene fresh(0);
    ASSERT_TRUE(fresh.model.setCaption(0, "丙丁"));
    fresh.paint();
    EXPECT_EQ(headerPixels(s), headerPixels(fresh));
}

TEST(PageControlRender, ScrollButtonsShowTheBuiltInArtwork) {
    Scene s(0);
    s.model.setMultiRow(false);
    for (int i = 0; i < 30; ++i) s.model.addPage(PageControlPage{.caption = "载入.."});
    s.paint();
    const ScrollButton& left = s.model.scrollButton(0);
    ASSERT_TRUE(left.visible());
    auto art = scrollArtwork();
    // The disabled left button (image 3) and its transparent corner.
    EXPECT_EQ(s.at(left.box().left + 10, left.box().top + 10), art[10 * kArtWidth + 3 * 13 + 10]);
    EXPECT_EQ(s.at(left.box().left, left.box().top), kPage);
}

// Partial paints skip what lies outside the clip (the selected header and
// its text above all); what they do paint must be the full paint's pixels.
TEST(PageControlRender, PartialPaintsMatchTheFullPaint) {
    for (int position : {0, 1, 2}) {
        Scene s(position);
        const Box h = s.model.page(1).header;
        s.model.mouseMove((h.left + h.right) / 2, (h.top + h.bottom) / 2);
        ASSERT_EQ(s.model.hot(), 1);
        s.paint();
        std::vector<uint32_t> full(static_cast<size_t>(Scene::kWidth) * Scene::kHeight);
        for (int y = 0; y < Scene::kHeight; ++y)
            for (int x = 0; x < Scene::kWidth; ++x) full[static_cast<size_t>(y) * Scene::kWidth + x] = s.at(x, y);
        const Box area = s.model.pageArea(), sel = s.model.selectedRect(), h1 = s.model.page(1).header;
        const Box clips[] = {
            {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1},    // the whole interior
            {area.right - 16, area.top + 1, area.right - 1, area.bottom - 1},  // a scroll bar's strip
            {area.left, area.top, area.left + 40, area.top + 40},              // across the frame
            {sel.left - 3, sel.top, sel.right + 3, sel.bottom + 3},            // the selected header
            {h1.left + 2, h1.top, h1.right - 2, h1.bottom},                    // a hot header
            {0, 0, Scene::kWidth, Scene::kHeight},
        };
        for (const Box& c : clips) {
            s.paintClipped(c);
            int wrong = 0;
            for (int y = 0; y < Scene::kHeight; ++y)
                for (int x = 0; x < Scene::kWidth; ++x) {
                    bool in = c.contains(x, y);
                    uint32_t want = in ? full[static_cast<size_t>(y) * Scene::kWidth + x] : 0x00FF00FFu;
                    wrong += s.at(x, y) != want;
                }
            EXPECT_EQ(wrong, 0) << "position " << position << " clip " << c.left << "," << c.top << " " << c.right
                                << "," << c.bottom;
        }
    }
}

runtime::Bytes imageListOf(const runtime::Bytes& picture, int imageWidth, int imageHeight, uint32_t mask) {
    ImageListStream stream;
    stream.imageWidth = imageWidth;
    stream.imageHeight = imageHeight;
    stream.maskColour = mask;
    stream.picture = picture;
    return stream.serialize();
}

uint32_t argbAt(const Surface& s, int x, int y) {
    cairo_surface_flush(s.get());
    const unsigned char* row = cairo_image_surface_get_data(s.get()) + y * cairo_image_surface_get_stride(s.get());
    return reinterpret_cast<const uint32_t*>(row)[x];
}

TEST(ImageListStreamDecode, PicturesOverTheLimitsOrCairosGiveAnEmptyList) {
    // Wider than a cairo surface can be (32767): once a write through a
    // null pointer; and over the decoders' own limits below that.
    for (int width : {40000, 9000}) {
        auto wide = samples::png(width, 1, [](int, int) { return 0xFF000000u; });
        EXPECT_TRUE(ImageList::fromStream(imageListOf(wide, 16, 1, 0)).empty()) << width;
        auto tall = samples::gif(1, width, {0, 0xFFFFFF}, [](int, int) { return 0; });
        EXPECT_TRUE(ImageList::fromStream(imageListOf(tall, 1, 16, 0)).empty()) << width;
    }
    EXPECT_FALSE(surfaceFromPixels(std::vector<uint32_t>(40000), 40000, 1, 0));
    // Formats the program does not know are no list either.
    const std::string xpm = "/* XPM */\nstatic char *x[] = {\"2 1 1 1\", \"a c #FF0000\", \"aa\"};\n";
    EXPECT_TRUE(ImageList::fromStream(imageListOf(runtime::Bytes(xpm.begin(), xpm.end()), 1, 1, 0)).empty());
}

TEST(ImageListStreamDecode, ImagesSideBySideWithMaskAndAlphaClear) {
    // Three 2 x 2 images: red with a magenta (mask) pixel, then green, then
    // a half-clear blue.
    auto png = samples::png(6, 2, [](int x, int y) -> uint32_t {
        if (x == 0 && y == 0) return 0xFFFF00FF;
        if (x < 2) return 0xFFFF0000;
        if (x < 4) return 0xFF00FF00;
        return y == 0 ? 0x400000FFu : 0xFF0000FFu;
    });
    ImageList list = ImageList::fromStream(imageListOf(png, 2, 2, runtime::rgb(255, 0, 255)));
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.width, 2);
    EXPECT_EQ(list.height, 2);
    EXPECT_EQ(argbAt(list.strip, 0, 0), 0u);
    EXPECT_EQ(argbAt(list.strip, 1, 0), 0xFFFF0000u);
    EXPECT_EQ(argbAt(list.strip, 2, 1), 0xFF00FF00u);
    EXPECT_EQ(argbAt(list.strip, 4, 0), 0u);
    EXPECT_EQ(argbAt(list.strip, 4, 1), 0xFF0000FFu);
}

}  // namespace
}  // namespace widgets::page_control
