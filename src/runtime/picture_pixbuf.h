// Pictures for kinds that paint through GDK (the label's background).
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "gobject_ptr.h"
#include "picture/picture.h"

namespace runtime {

// The picture as a pixbuf, with an alpha channel when the picture keeps one.
GObjectPtr<GdkPixbuf> pixbufFromPicture(const Picture& picture);

// Decodes the formats the decoders know (alpha kept); anything else, or a
// picture that does not decode, is no picture (null), never an error.
GObjectPtr<GdkPixbuf> decodePixbuf(const Bytes& bytes);

}  // namespace runtime
