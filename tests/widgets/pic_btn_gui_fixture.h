// A window on the test display with the graphic button and transparent label
// kinds registered, real pointer input through xdotool, and screen pixels.
#pragma once

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "runtime/kinds/builtin_kinds.h"
#include "runtime/runtime.h"
#include "support/gui_wait.h"
#include "support/screen.h"
#include "widgets/widget_kinds.h"

// These tests move the one pointer of their display, so tests that run at the
// same time must not share it: each test program starts an X server of its
// own (the display the suite runs under only has to exist).
class WidgetWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(startPrivateDisplay()) << "could not start a private X server";
        testsupport::requireDisplay();
    }

    static void TearDownTestSuite() {
        if (server() <= 0) return;
        if (GdkDisplay* d = gdk_display_get_default()) {
            // GTK 3 logs a critical of its own while it closes the default
            // display (an object it finalises lets go of one already gone);
            // criticals are fatal in the tests, but this one is not ours.
            const GLogLevelFlags fatal = g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK));
            gdk_display_close(d);
            g_log_set_always_fatal(fatal);
        }
        kill(server(), SIGTERM);
        server() = 0;
    }

    static GPid& server() {
        static GPid pid = 0;
        return pid;
    }

    // The server picks a free display number itself and writes it once it
    // accepts connections, so programs starting together cannot collide.
    static bool startPrivateDisplay() {
        if (server() > 0) return true;
        const char* argv[] = {
            "Xvfb", "-displayfd", "1", "-noreset", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr};
        GPid pid = 0;
        int out = -1;
        if (!g_spawn_async_with_pipes(nullptr, const_cast<char**>(argv), nullptr,
                GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr, &pid, nullptr, &out,
                nullptr, nullptr))
            return false;
        server() = pid;
        std::string number;
        GPollFD fd{out, G_IO_IN, 0};
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
            if (g_poll(&fd, 1, 100) <= 0) continue;
            char buffer[32];
            ssize_t n = read(out, buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<size_t>(n));
        }
        close(out);
        if (number.find('\n') == std::string::npos) return false;
        setenv("DISPLAY", (":" + number.substr(0, number.find('\n'))).c_str(), 1);
        return true;
    }

    void SetUp() override {
        runtime::registerBuiltinKinds(runtime);
        widgets::registerPicBtnKind(runtime);
        widgets::registerTransLabelKind(runtime);
        runtime.setRuntimeErrorHook([this](int code, const std::string& m) {
            errors.push_back(std::to_string(code) + " " + m);
            return true;
        });
    }

    // Loads and shows the window at (x, y) and waits until it is on screen.
    runtime::ComponentRef open(runtime::WindowDescription& w) {
        runtime::ComponentRef win = runtime.loadWindow(w);
        runtime.show(win.window);
        GtkWidget* top = GTK_WIDGET(runtime.gtkWindow(win.window));
        EXPECT_TRUE(waitFor([&] { return gtk_widget_get_mapped(top) && !g_main_context_pending(nullptr); }));
        return win;
    }

    // Runs the main loop until `done` holds or the time is up.
    static bool waitFor(
        const std::function<bool()>& done, std::chrono::milliseconds timeout = testsupport::kWindowWait) {
        return testsupport::waitFor(done, timeout);
    }

    // 0x00RRGGBB of one screen pixel.
    static uint32_t pixel(int x, int y) { return testsupport::screenPixel(x, y); }

    // Screen position of a point of a component.
    std::pair<int, int> screen(runtime::ComponentRef ref, int x, int y) const {
        int ox = 0, oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(runtime.hostWidget(ref)), &ox, &oy);
        return {ox + x, oy + y};
    }

    // The component's rectangle as it is on screen, row by row.
    struct Grab {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels;
        uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    };
    Grab grab(runtime::ComponentRef ref, int width, int height) const {
        auto [sx, sy] = screen(ref, 0, 0);
        gdk_display_sync(gdk_display_get_default());
        Grab g;
        GdkPixbuf* p = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), sx, sy, width, height);
        if (!p) return g;
        g.width = width, g.height = height;
        int stride = gdk_pixbuf_get_rowstride(p), channels = gdk_pixbuf_get_n_channels(p);
        const guchar* d = gdk_pixbuf_get_pixels(p);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const guchar* q = d + y * stride + x * channels;
                g.pixels.push_back((q[0] << 16) | (q[1] << 8) | q[2]);
            }
        g_object_unref(p);
        return g;
    }

    uint32_t pixelOf(runtime::ComponentRef ref, int x, int y) const {
        auto [sx, sy] = screen(ref, x, y);
        return pixel(sx, sy);
    }

    // Real pointer input, through the server's test extension.
    static void xdotool(const std::string& args) { testsupport::xdotool(args); }
    void moveTo(runtime::ComponentRef ref, int x, int y) {
        auto [sx, sy] = screen(ref, x, y);
        xdotool("mousemove " + std::to_string(sx) + " " + std::to_string(sy));
    }

    // Saves the screen when VAROMEL_SCREENSHOT_DIR names a folder.
    static void screenshot(const std::string& name) {
        const char* dir = std::getenv("VAROMEL_SCREENSHOT_DIR");
        if (!dir) return;
        GdkWindow* root = gdk_get_default_root_window();
        gdk_display_sync(gdk_display_get_default());
        GdkPixbuf* p = gdk_pixbuf_get_from_window(root, 0, 0, 600, 300);
        std::string path = std::string(dir) + "/" + name + ".png";
        gdk_pixbuf_save(p, path.c_str(), "png", nullptr, nullptr);
        g_object_unref(p);
    }

    runtime::Runtime runtime;
    std::vector<std::string> errors;
};
