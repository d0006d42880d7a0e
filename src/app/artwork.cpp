#include "artwork.h"

#include <gio/gio.h>

#include <string>

extern "C" GResource* varomel_get_resource(void);

namespace app {

runtime::Bytes picture(const char* fileName) {
    // Referencing the resource keeps its registering object in the link.
    static GResource* resource = varomel_get_resource();
    std::string path = std::string("/varomel/pictures/") + fileName;
    GBytes* bytes = g_resource_lookup_data(resource, path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return {};
    gsize size = 0;
    auto* data = static_cast<const uint8_t*>(g_bytes_get_data(bytes, &size));
    runtime::Bytes out(data, data + size);
    g_bytes_unref(bytes);
    return out;
}

}  // namespace app
