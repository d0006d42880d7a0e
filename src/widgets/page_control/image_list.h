// Image lists of the tab control: images of one size side by side in one
// picture, decoded from the stream a property block stores. Display-free
// (cairo image surfaces only).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "runtime/gobject_ptr.h"
#include "runtime/value.h"

namespace widgets::page_control {

using Surface = runtime::CPtr<cairo_surface_t, cairo_surface_destroy>;

// Images of one size side by side in one ARGB surface.
struct ImageList {
    Surface strip;
    int width = 0, height = 0, count = 0;
    bool empty() const { return count == 0; }
    // Decodes an image-list stream; a stream that does not decode, or a
    // picture cairo cannot hold, is an empty list.
    static ImageList fromStream(const runtime::Bytes& stream);
    // The built-in scroll-button artwork.
    static ImageList builtInScrollButtons();
};

// Converts 0x00BBGGRR pixels to a premultiplied ARGB surface; the mask
// colour becomes transparent. Null when cairo cannot make the surface.
Surface surfaceFromPixels(const std::vector<uint32_t>& px, int width, int height, uint32_t mask);

}  // namespace widgets::page_control
