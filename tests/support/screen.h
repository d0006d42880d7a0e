// The test display seen from outside the program: real pointer input through
// the server's test extension, and pixels as the server shows them.
#pragma once

#include <gdk/gdk.h>
#include <glib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace testsupport {

// Runs `xdotool ARGS`; a failure to run it or a non-zero exit fails the test.
inline void xdotool(const std::string& args) {
    std::string cmd = "xdotool " + args;
    gint status = 0;
    ASSERT_TRUE(g_spawn_command_line_sync(cmd.c_str(), nullptr, nullptr, &status, nullptr)) << cmd;
    ASSERT_EQ(status, 0) << cmd;
}

// One pixel of the screen as 0x00RRGGBB, after the server has drawn all that
// was asked of it; 0xFF000000 when it cannot be read.
inline uint32_t screenPixel(int x, int y) {
    gdk_display_sync(gdk_display_get_default());
    GdkPixbuf* p = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, 1, 1);
    if (!p) return 0xFF000000;
    const guchar* d = gdk_pixbuf_get_pixels(p);
    const uint32_t v = (d[0] << 16) | (d[1] << 8) | d[2];
    g_object_unref(p);
    return v;
}

}  // namespace testsupport
