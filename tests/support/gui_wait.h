// Waiting on the GLib main loop in GUI tests. Tests never sleep for a fixed
// time: they run the loop until what they wait for has happened, and give up
// at a deadline so a lost event fails the test instead of hanging it.
#pragma once

#include <gdk/gdk.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <functional>

namespace testsupport {

// Long enough for a window to map, repaint or take pointer input on a busy
// machine.
inline constexpr std::chrono::milliseconds kWindowWait{5000};
// Long enough for a page to load through a web process that starts cold.
inline constexpr std::chrono::milliseconds kPageWait{30000};

// Runs the main loop until `done` holds; false once the timeout has passed
// without it. The loop is polled rather than blocked in, so the wait adds no
// source of its own to the main context: conditions that ask whether events
// are still pending see only the program's own.
inline bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = kWindowWait) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
    }
    return true;
}

// Dispatches everything the main loop has ready now, without waiting.
inline void drain() {
    while (g_main_context_iteration(nullptr, FALSE)) {}
}

// Lets the X server catch up with every request made so far, then handles
// what it sent back (maps, unmaps, configure reports).
inline void settle() {
    gdk_display_sync(gdk_display_get_default());
    drain();
}

// Runs `loop` until a handler quits it, or quits it after `limit` so a timer
// that never fires cannot hang the test.
inline void runLoop(GMainLoop* loop, std::chrono::milliseconds limit) {
    // A guard that fired has removed itself; removing it again is a GLib
    // critical (fatal in the tests).
    struct Guard {
        GMainLoop* loop;
        bool fired = false;
    } guard{loop};
    guint source = g_timeout_add(
        static_cast<guint>(limit.count()),
        [](gpointer p) -> gboolean {
            auto* g = static_cast<Guard*>(p);
            g->fired = true;
            g_main_loop_quit(g->loop);
            return G_SOURCE_REMOVE;
        },
        &guard);
    g_main_loop_run(loop);
    if (!guard.fired) g_source_remove(source);
}

// For SetUpTestSuite: GUI suites fail, not skip, without a display, so a
// run that lost its X server cannot pass quietly.
inline void requireDisplay() { ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "needs a display"; }

// A press and release of a mouse button handed to a GDK window through
// GTK's own event path, as if they came from the X server: WebKit takes
// them for a user's gesture, and the real pointer does not move.
inline void clickAt(GdkWindow* window, int x, int y, guint button = 1) {
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(window)));
    int ox = 0, oy = 0;
    gdk_window_get_origin(window, &ox, &oy);
    for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
        GdkEvent* e = gdk_event_new(type);
        e->button.window = GDK_WINDOW(g_object_ref(window));
        e->button.time = GDK_CURRENT_TIME;
        e->button.x = x;
        e->button.y = y;
        e->button.x_root = ox + x;
        e->button.y_root = oy + y;
        e->button.button = button;
        // A release reports the button as still held, as X does.
        if (type == GDK_BUTTON_RELEASE) e->button.state = GDK_BUTTON1_MASK << (button - 1);
        gdk_event_set_device(e, pointer);
        gtk_main_do_event(e);
        gdk_event_free(e);
    }
}

}  // namespace testsupport
