#include "device_picture.h"

#include <utility>

namespace runtime {

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
        {
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
