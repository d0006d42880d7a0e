// The drawing panel keeps what was drawn through repaints, resizes cut it
// off like a bitmap of the panel's size would, and a clear wipes it.
#include "runtime/colour.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/runtime.h"

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF, kRed = 0x000000FF;

class DrawPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "needs a display"; }

    void SetUp() override {
        runtime::registerBuiltinKinds(runtime);
        runtime::WindowDescription w;
        runtime::ComponentDescription p;
        p.kind = "DrawPanel";
        p.name = "panel";
        p.rect = {0, 0, 40, 30};
        p.block = runtime::DrawPanelBlock{kRed, kWhite}.serialize();
        w.components = {p};
        panel = *runtime.find(runtime.loadWindow(w).window, "panel");
    }

    void line(int x1, int y1, int x2, int y2) { runtime.call(panel, runtime::draw_panel::kDrawLine, {x1, y1, x2, y2}); }

    // What the panel paints, as 0x00BBGGRR per pixel, on a black canvas;
    // with a clip, only inside it.
    std::vector<uint32_t> paint(int width, int height, const runtime::Rect* clip = nullptr) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        if (clip) {
            cairo_rectangle(cr, clip->left, clip->top, clip->width, clip->height);
            cairo_clip(cr);
        }
        gboolean handled = FALSE;
        g_signal_emit_by_name(runtime.component(panel)->widget(), "draw", cr, &handled);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        std::vector<uint32_t> px(static_cast<size_t>(width * height));
        const unsigned char* data = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t v = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
                px[static_cast<size_t>(y * width + x)] = runtime::rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
            }
        cairo_surface_destroy(s);
        return px;
    }

    runtime::Runtime runtime;
    runtime::ComponentRef panel;
};

uint32_t at(const std::vector<uint32_t>& px, int width, int x, int y) { return px[static_cast<size_t>(y * width + x)]; }

TEST_F(DrawPanelTest, LinesStayCutToThePanelAndClearWipesThem) {
    line(0, 5, 10, 5);  // the end point is left out
    line(3, 0, 3, 40);  // runs past the bottom edge
    auto px = paint(60, 50);
    EXPECT_EQ(at(px, 60, 0, 5), kRed);
    EXPECT_EQ(at(px, 60, 9, 5), kRed);
    EXPECT_EQ(at(px, 60, 10, 5), kWhite);
    EXPECT_EQ(at(px, 60, 3, 29), kRed);
    EXPECT_EQ(at(px, 60, 3, 30), 0u) << "nothing is painted outside the panel";
    EXPECT_EQ(at(px, 60, 45, 5), 0u);

    // Narrower, then wider again: what was cut off stays cut off, and the
    // new room shows the background.
    runtime.set(panel, runtime::prop::kWidth, 8);
    line(0, 10, 30, 10);
    runtime.set(panel, runtime::prop::kWidth, 40);
    px = paint(60, 50);
    EXPECT_EQ(at(px, 60, 0, 5), kRed);
    EXPECT_EQ(at(px, 60, 7, 5), kRed);
    EXPECT_EQ(at(px, 60, 8, 5), kWhite);
    EXPECT_EQ(at(px, 60, 7, 10), kRed);
    EXPECT_EQ(at(px, 60, 20, 10), kWhite);

    runtime.call(panel, runtime::draw_panel::kClear);
    px = paint(60, 50);
    EXPECT_EQ(at(px, 60, 0, 5), kWhite);
    EXPECT_EQ(at(px, 60, 3, 20), kWhite);
}

TEST_F(DrawPanelTest, LongDrawingWithoutAClearKeepsEveryLine) {
    // Enough lines that the panel stops recording and keeps pixels.
    for (int i = 0; i < 5000; ++i) line(i % 40, 0, i % 40, 1 + i % 20);
    line(0, 29, 39, 29);
    auto px = paint(40, 30);
    EXPECT_EQ(at(px, 40, 39, 19), kRed);
    EXPECT_EQ(at(px, 40, 5, 25), kWhite);
    EXPECT_EQ(at(px, 40, 20, 29), kRed);
    EXPECT_EQ(at(px, 40, 39, 29), kWhite);
}

// Paints of small damaged parts take a shortcut where no line is; they must
// show exactly what a full paint shows there, also once a resize has added
// room in a newer background colour.
TEST_F(DrawPanelTest, PartialPaintsShowWhatTheFullPaintShows) {
    line(0, 5, 10, 5);
    line(14, 0, 14, 12);
    auto same = [&](const runtime::Rect& c) {
        auto full = paint(60, 50);
        auto part = paint(60, 50, &c);
        int wrong = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                bool in = x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
                wrong += at(part, 60, x, y) != (in ? at(full, 60, x, y) : 0u);
            }
        return wrong;
    };
    for (const runtime::Rect& c : {runtime::Rect{20, 15, 20, 15}, runtime::Rect{0, 3, 20, 10},
             runtime::Rect{15, 12, 2, 2}, runtime::Rect{30, 0, 30, 50}})
        EXPECT_EQ(same(c), 0) << c.left << "," << c.top;

    runtime.set(panel, runtime::draw_panel::kBackground + 8, static_cast<int32_t>(0x00FF0000));
    runtime.set(panel, runtime::prop::kWidth, 50);
    auto px = paint(60, 50);
    EXPECT_EQ(at(px, 60, 39, 20), kWhite);
    EXPECT_EQ(at(px, 60, 40, 20), 0x00FF0000u);
    EXPECT_EQ(same(runtime::Rect{35, 20, 10, 5}), 0);
    EXPECT_EQ(same(runtime::Rect{42, 20, 5, 5}), 0);

    // After a clear the whole panel is the new colour again.
    runtime.call(panel, runtime::draw_panel::kClear);
    EXPECT_EQ(same(runtime::Rect{20, 15, 20, 15}), 0);
    EXPECT_EQ(at(paint(60, 50), 60, 20, 20), 0x00FF0000u);
}

}  // namespace
