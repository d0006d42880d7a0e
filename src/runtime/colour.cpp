#include "colour.h"

#include <cairo.h>

namespace runtime {

void setSourceColour(cairo_t* cr, uint32_t c) {
    cairo_set_source_rgb(cr, red(c) / 255.0, green(c) / 255.0, blue(c) / 255.0);
}

}  // namespace runtime
