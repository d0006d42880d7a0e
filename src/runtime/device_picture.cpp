#include "device_picture.h"

#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <gdk/gdkx.h>

#include <bit>
#include <utility>

namespace runtime {
namespace {

// Puts the picture's pixels on its pixmap with a plain XPutImage. Painted
// through cairo they would go by way of the X shared-memory pool that also
// carries the web view's frames; a small picture placed there while a frame
// is in flight sends the next frame to a second view-sized block, which the
// pool keeps touched for good (about 2 MB of the program's memory). Returns
// false where the pixel layouts differ, and cairo does the copy instead.
bool putDirectly(cairo_surface_t* image, cairo_surface_t* copy) {
    if (cairo_surface_get_type(copy) != CAIRO_SURFACE_TYPE_XLIB) return false;
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    const int depth = cairo_xlib_surface_get_depth(copy);
    const cairo_format_t format = cairo_image_surface_get_format(image);
    // Both keep a pixel in a native 32-bit word: premultiplied ARGB for 32
    // bits of depth, RGB with an unused top byte for 24.
    const bool sameLayout = (depth == 32 && format == CAIRO_FORMAT_ARGB32) ||
                            (depth == 24 && format == CAIRO_FORMAT_RGB24);
    if (!sameLayout || cairo_xlib_surface_get_width(copy) != width || cairo_xlib_surface_get_height(copy) != height)
        return false;
    Display* display = cairo_xlib_surface_get_display(copy);
    const Drawable pixmap = cairo_xlib_surface_get_drawable(copy);
    cairo_surface_flush(image);
    cairo_surface_flush(copy);
    XImage* x = XCreateImage(display, nullptr, static_cast<unsigned>(depth), ZPixmap, 0,
        reinterpret_cast<char*>(cairo_image_surface_get_data(image)), static_cast<unsigned>(width),
        static_cast<unsigned>(height), 32, cairo_image_surface_get_stride(image));
    if (!x) return false;
    // The words are in this machine's order; Xlib swaps them for a server
    // of the other order.
    x->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    const bool put = x->bits_per_pixel == 32;
    if (put) {
        // The checks above leave nothing for the server to refuse; the trap
        // is for a pixmap gone under us, and it is let go without a round
        // trip, which a header painted with every frame cannot afford.
        GdkDisplay* gdk = gdk_x11_lookup_xdisplay(display);
        if (gdk) gdk_x11_display_error_trap_push(gdk);
        GC gc = XCreateGC(display, pixmap, 0, nullptr);
        XPutImage(display, pixmap, gc, x, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
        XFreeGC(display, gc);
        if (gdk) gdk_x11_display_error_trap_pop_ignored(gdk);
    }
    x->data = nullptr;  // the pixels stay the image surface's
    XDestroyImage(x);
    if (put) cairo_surface_mark_dirty(copy);
    return put;
}

}  // namespace

DevicePicture::DevicePicture(Surface image, cairo_filter_t copyFilter) : copyFilter_(copyFilter) {
    if (image && cairo_surface_status(image.get()) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_get_type(image.get()) == CAIRO_SURFACE_TYPE_IMAGE)
        image_ = std::move(image);
}

int DevicePicture::width() const { return image_ ? cairo_image_surface_get_width(image_.get()) : 0; }

int DevicePicture::height() const { return image_ ? cairo_image_surface_get_height(image_.get()) : 0; }

void DevicePicture::setSource(cairo_t* cr, double x, double y) {
    if (!image_) return;
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_device_t* device = cairo_surface_get_device(target);
    // Image targets (off-screen drawing, tests) have no device: the pixels
    // themselves are the cheapest source there.
    if (!device || cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_set_source_surface(cr, image_.get(), x, y);
        return;
    }
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(target, &sx, &sy);
    if (!copy_ || copyDevice_.get() != device || sx != copyScaleX_ || sy != copyScaleY_) {
        Surface copy(cairo_surface_create_similar(target, cairo_surface_get_content(image_.get()), width(), height()));
        if (cairo_surface_status(copy.get()) != CAIRO_STATUS_SUCCESS) {
            cairo_set_source_surface(cr, image_.get(), x, y);
            return;
        }
        if (sx != 1 || sy != 1 || !putDirectly(image_.get(), copy.get())) {
            CPtr<cairo_t, cairo_destroy> c(cairo_create(copy.get()));
            cairo_set_operator(c.get(), CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(c.get(), image_.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(c.get()), copyFilter_);
            cairo_paint(c.get());
        }
        copy_ = std::move(copy);
        copyDevice_.reset(cairo_device_reference(device));
        copyScaleX_ = sx;
        copyScaleY_ = sy;
    }
    cairo_set_source_surface(cr, copy_.get(), x, y);
}

}  // namespace runtime
