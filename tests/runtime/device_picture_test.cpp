// A picture painted from its copy on the X server shows the same pixels as
// the picture itself, also on a scaled target, where hard edges stay hard.
#include "runtime/device_picture.h"

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using runtime::Surface;

// A 2x2 picture: red, green / blue, white.
Surface checker() {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2, 2));
    cairo_surface_flush(s.get());
    auto* data = cairo_image_surface_get_data(s.get());
    int stride = cairo_image_surface_get_stride(s.get());
    const uint32_t px[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    for (int i = 0; i < 4; ++i) *reinterpret_cast<uint32_t*>(data + (i / 2) * stride + (i % 2) * 4) = px[i];
    cairo_surface_mark_dirty(s.get());
    return s;
}

uint32_t pixelAt(cairo_surface_t* xTarget, int x, int y) {
    Surface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(image.get()));
    cairo_set_source_surface(cr.get(), xTarget, -x, -y);
    cairo_paint(cr.get());
    cairo_surface_flush(image.get());
    return *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image.get())) & 0xFFFFFF;
}

class DevicePictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "needs a display"; }

    void SetUp() override {
        window = gtk_window_new(GTK_WINDOW_POPUP);
        gtk_widget_realize(window);
    }
    void TearDown() override { gtk_widget_destroy(window); }

    // An X pixmap like the one a window paints into.
    Surface xTarget(int width, int height) {
        Surface s(gdk_window_create_similar_surface(gtk_widget_get_window(window), CAIRO_CONTENT_COLOR, width, height));
        EXPECT_EQ(cairo_surface_get_type(s.get()), CAIRO_SURFACE_TYPE_XLIB);
        return s;
    }

    void paint(runtime::DevicePicture& picture, cairo_surface_t* target, double x, double y) {
        runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(target));
        picture.setSource(cr.get(), x, y);
        cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_NEAREST);
        cairo_paint(cr.get());
    }

    GtkWidget* window = nullptr;
};

TEST_F(DevicePictureTest, PaintsTheSamePixelsFromItsCopyEveryTime) {
    runtime::DevicePicture picture(checker());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.width(), 2);
    Surface target = xTarget(4, 4);
    for (int round = 0; round < 2; ++round) {  // the second paint uses the copy made by the first
        paint(picture, target.get(), 1, 1);
        EXPECT_EQ(pixelAt(target.get(), 1, 1), 0xFF0000u);
        EXPECT_EQ(pixelAt(target.get(), 2, 1), 0x00FF00u);
        EXPECT_EQ(pixelAt(target.get(), 1, 2), 0x0000FFu);
        EXPECT_EQ(pixelAt(target.get(), 2, 2), 0xFFFFFFu);
    }
}

// A picture with an alpha channel is copied to a pixmap with one (32 bits
// deep), premultiplied as cairo keeps it: painted over a background it blends
// the same as the picture itself would.
TEST_F(DevicePictureTest, TranslucentPictureBlendsLikeItsPixels) {
    Surface argb(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 1));
    cairo_surface_flush(argb.get());
    auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(argb.get()));
    px[0] = 0x80800000;  // red at half opacity, premultiplied
    px[1] = 0x00000000;  // fully transparent
    cairo_surface_mark_dirty(argb.get());
    runtime::DevicePicture picture(std::move(argb));
    Surface target = xTarget(2, 1);
    for (int round = 0; round < 2; ++round) {
        {
            runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(target.get()));
            cairo_set_source_rgb(cr.get(), 0, 0, 1);
            cairo_paint(cr.get());
        }
        paint(picture, target.get(), 0, 0);
        EXPECT_EQ(pixelAt(target.get(), 0, 0), 0x80007Fu) << "round " << round;
        EXPECT_EQ(pixelAt(target.get(), 1, 0), 0x0000FFu) << "round " << round;
    }
}

TEST_F(DevicePictureTest, ScaledTargetGetsBlocksWithHardEdges) {
    runtime::DevicePicture picture(checker(), CAIRO_FILTER_NEAREST);
    Surface plain = xTarget(2, 2);
    paint(picture, plain.get(), 0, 0);  // a copy for scale 1 first
    Surface scaled = xTarget(4, 4);
    cairo_surface_set_device_scale(scaled.get(), 2, 2);
    paint(picture, scaled.get(), 0, 0);  // the scale changed: a new copy
    const uint32_t want[4][4] = {{0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00}, {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00},
        {0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF}, {0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF}};
    cairo_surface_set_device_scale(scaled.get(), 1, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelAt(scaled.get(), x, y), want[y][x]) << x << "," << y;
}

TEST_F(DevicePictureTest, RefusesWhatIsNotAnImage) {
    runtime::DevicePicture none(Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, -1, 5)));
    EXPECT_FALSE(none);
    Surface target = xTarget(2, 2);
    runtime::CPtr<cairo_t, cairo_destroy> cr(cairo_create(target.get()));
    none.setSource(cr.get(), 0, 0);  // leaves the source as it was
    EXPECT_EQ(cairo_status(cr.get()), CAIRO_STATUS_SUCCESS);
}

}  // namespace
