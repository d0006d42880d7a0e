#include "picture.h"

namespace rt {

GObjectPtr<GdkPixbuf> decodePicture(const Bytes& bytes) {
    if (bytes.empty()) return {};
    auto loader = GObjectPtr<GdkPixbufLoader>::adopt(gdk_pixbuf_loader_new());
    GError* error = nullptr;
    bool ok = gdk_pixbuf_loader_write(loader.get(), bytes.data(), bytes.size(), &error);
    if (error) { g_error_free(error); error = nullptr; }
    ok = gdk_pixbuf_loader_close(loader.get(), &error) && ok;
    if (error) g_error_free(error);
    if (!ok) return {};
    return GObjectPtr<GdkPixbuf>::retain(gdk_pixbuf_loader_get_pixbuf(loader.get()));
}

}  // namespace rt
