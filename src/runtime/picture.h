// Decoding of the pictures built-in kinds carry (background pictures).
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "gobject_ptr.h"
#include "value.h"

namespace rt {

// Decodes any format gdk-pixbuf knows; a picture that does not decode is
// no picture (null), never an error.
GObjectPtr<GdkPixbuf> decodePicture(const Bytes& bytes);

}  // namespace rt
