// A picture painted many times, kept where it is painted: beside the plain
// pixels it holds one copy made on the drawing target's device (a server-side
// pixmap on X11), so each paint is a copy within the X server instead of an
// upload of every pixel through shared memory.
#pragma once

#include <cairo.h>

#include "gobject_ptr.h"

namespace runtime {

using Surface = CPtr<cairo_surface_t, cairo_surface_destroy>;

class DevicePicture {
public:
    DevicePicture() = default;
    // Takes an image surface; copyFilter is how the pixels are scaled into
    // the device copy on a scaled screen (nearest keeps hard edges).
    explicit DevicePicture(Surface image, cairo_filter_t copyFilter = CAIRO_FILTER_GOOD);

    // Makes the picture cr's source with its top-left at x, y.
    void setSource(cairo_t* cr, double x, double y);

    explicit operator bool() const { return static_cast<bool>(image_); }
    int width() const;
    int height() const;

private:
    using Device = CPtr<cairo_device_t, cairo_device_destroy>;

    Surface image_;
    cairo_filter_t copyFilter_ = CAIRO_FILTER_GOOD;
    Surface copy_;
    Device copyDevice_;
    double copyScaleX_ = 1, copyScaleY_ = 1;
};

}  // namespace runtime
