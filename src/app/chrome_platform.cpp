#include "chrome_platform.h"

#include <gdk/gdkx.h>

#include <cmath>
#include <memory>
#include <optional>

#include "chrome_layout.h"
#include "resize_zones.h"
#include "runtime/gobject_ptr.h"
#include "work_area.h"

namespace app {

namespace {

using Region = runtime::CPtr<cairo_region_t, cairo_region_destroy>;
using EventPtr = runtime::CPtr<GdkEvent, gdk_event_free>;

GdkMonitor* monitorOf(GtkWindow* window) {
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
    GdkWindow* gw = gtk_widget_get_window(GTK_WIDGET(window));
    GdkMonitor* m = gw ? gdk_display_get_monitor_at_window(display, gw) : nullptr;
    if (!m) m = gdk_display_get_primary_monitor(display);
    if (!m && gdk_display_get_n_monitors(display) > 0) m = gdk_display_get_monitor(display, 0);
    return m;
}

std::optional<GdkWindowEdge> zoneEdge(int zone) {
    switch (zone) {
        case kZoneTopLeft: return GDK_WINDOW_EDGE_NORTH_WEST;
        case kZoneTop: return GDK_WINDOW_EDGE_NORTH;
        case kZoneTopRight: return GDK_WINDOW_EDGE_NORTH_EAST;
        case kZoneRight: return GDK_WINDOW_EDGE_EAST;
        case kZoneBottomRight: return GDK_WINDOW_EDGE_SOUTH_EAST;
        case kZoneBottom: return GDK_WINDOW_EDGE_SOUTH;
        case kZoneBottomLeft: return GDK_WINDOW_EDGE_SOUTH_WEST;
        case kZoneLeft: return GDK_WINDOW_EDGE_WEST;
        default: return std::nullopt;
    }
}

// Where and when the mouse event being handled happened, for the system
// drags that continue it.
struct PointerStart {
    int button = 1;
    int rootX = 0, rootY = 0;
    guint32 time = GDK_CURRENT_TIME;
};

PointerStart currentPointer(GtkWidget* widget) {
    PointerStart p;
    EventPtr event(gtk_get_current_event());
    double x = 0, y = 0;
    if (event && gdk_event_get_root_coords(event.get(), &x, &y)) {
        p.rootX = static_cast<int>(x);
        p.rootY = static_cast<int>(y);
        guint button = 0;
        if (gdk_event_get_button(event.get(), &button) && button > 0) p.button = static_cast<int>(button);
        p.time = gdk_event_get_time(event.get());
        return p;
    }
    // No event in hand: start from where the pointer is now.
    GdkWindow* gw = gtk_widget_get_window(widget);
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
    if (gw && seat) {
        gdk_window_get_device_position(gdk_screen_get_root_window(gdk_window_get_screen(gw)),
            gdk_seat_get_pointer(seat), &p.rootX, &p.rootY, nullptr);
    }
    return p;
}

struct CaptionDrag {
    GtkWindow* window = nullptr;
    std::function<bool()> mayMove;
    bool armed = false;
    double startX = 0, startY = 0;  // root coordinates of the press
};

}  // namespace

runtime::Rect monitorWorkArea(GtkWindow* window, int border) {
    GdkMonitor* monitor = window ? monitorOf(window) : nullptr;
    if (!monitor) {
        // No monitor reported at all: treat the screen as the design size.
        const runtime::Rect design{0, 0, 1030, 750};
        return workAreaFromUsable(design, design, border);
    }
    GdkRectangle screen{}, usable{};
    gdk_monitor_get_geometry(monitor, &screen);
    gdk_monitor_get_workarea(monitor, &usable);
    return workAreaFromUsable(
        {screen.x, screen.y, screen.width, screen.height}, {usable.x, usable.y, usable.width, usable.height}, border);
}

namespace {

struct WorkAreaWatch {
    std::function<void()> changed;
    std::function<void()> mapped;
    GdkAtom netWorkArea = GDK_NONE;
    GdkScreen* screen = nullptr;
    GdkWindow* root = nullptr;
    guint pending = 0;  // idle source of a change not yet handed on
};

// Panels come and go, and monitors are added, without a signal for the
// work area in GTK 3: the window manager rewrites the root window's
// _NET_WORKAREA, and GDK reports monitor changes. Several reports in a row
// are handed on once, after GDK has seen them all.
void workAreaMayHaveChanged(WorkAreaWatch* w) {
    if (w->pending) return;
    w->pending = g_idle_add(
        [](gpointer p) -> gboolean {
            auto* watch = static_cast<WorkAreaWatch*>(p);
            watch->pending = 0;
            watch->changed();
            return G_SOURCE_REMOVE;
        },
        w);
}

GdkFilterReturn rootPropertyFilter(GdkXEvent* xevent, GdkEvent*, gpointer p) {
    auto* w = static_cast<WorkAreaWatch*>(p);
    const auto* e = static_cast<const XEvent*>(xevent);
    if (e->type == PropertyNotify && e->xproperty.atom == gdk_x11_atom_to_xatom(w->netWorkArea))
        workAreaMayHaveChanged(w);
    return GDK_FILTER_CONTINUE;
}

void monitorsChanged(GdkScreen*, gpointer p) { workAreaMayHaveChanged(static_cast<WorkAreaWatch*>(p)); }

// The map is reported before the window manager's own fitting of the window
// has reached us; a round trip to the server lets it arrive first.
gboolean windowMapped(GtkWidget* widget, GdkEvent*, gpointer p) {
    gdk_display_sync(gtk_widget_get_display(widget));
    static_cast<WorkAreaWatch*>(p)->mapped();
    return FALSE;
}

}  // namespace

void watchWorkArea(GtkWindow* window, std::function<void()> changed, std::function<void()> mapped) {
    if (!window || !changed || !mapped || g_object_get_data(G_OBJECT(window), "app-work-area-watch")) return;
    GdkScreen* screen = gtk_widget_get_screen(GTK_WIDGET(window));
    if (!GDK_IS_X11_SCREEN(screen)) return;
    auto* watch = new WorkAreaWatch{std::move(changed), std::move(mapped),
        gdk_atom_intern_static_string("_NET_WORKAREA"), screen, gdk_screen_get_root_window(screen)};
    gdk_window_set_events(
        watch->root, static_cast<GdkEventMask>(gdk_window_get_events(watch->root) | GDK_PROPERTY_CHANGE_MASK));
    gdk_window_add_filter(watch->root, rootPropertyFilter, watch);
    g_signal_connect(screen, "monitors-changed", G_CALLBACK(monitorsChanged), watch);
    g_signal_connect(window, "map-event", G_CALLBACK(windowMapped), watch);
    // The window's place and size are its own, as a user's: without this
    // a window manager fits a new window into the work area as it maps it,
    // moving the border that hangs over the edges back on screen.
    GdkGeometry none{};
    gtk_window_set_geometry_hints(
        window, nullptr, &none, static_cast<GdkWindowHints>(GDK_HINT_USER_POS | GDK_HINT_USER_SIZE));
    // The watch ends with the window.
    g_object_set_data_full(G_OBJECT(window), "app-work-area-watch", watch, [](gpointer p) {
        auto* w = static_cast<WorkAreaWatch*>(p);
        gdk_window_remove_filter(w->root, rootPropertyFilter, w);
        g_signal_handlers_disconnect_by_data(w->screen, w);
        // The window's own handler goes with the window.
        if (w->pending) g_source_remove(w->pending);
        delete w;
    });
}

void applyRoundedShape(GtkWindow* window, int width, int height) {
    GdkWindow* gw = window ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
    if (!gw) return;
    Region region(cairo_region_create());
    for (const Box& row : roundedShapeRows(width, height, 5, 5)) {
        const cairo_rectangle_int_t r{row.left, row.top, row.width, row.height};
        cairo_region_union_rectangle(region.get(), &r);
    }
    gdk_window_shape_combine_region(gw, region.get(), 0, 0);
    gdk_window_input_shape_combine_region(gw, region.get(), 0, 0);
    gdk_window_invalidate_rect(gw, nullptr, TRUE);
}

void beginZoneResize(GtkWindow* window, int zone) {
    const auto edge = zoneEdge(zone);
    if (!window || !edge) return;
    const PointerStart p = currentPointer(GTK_WIDGET(window));
    gtk_window_begin_resize_drag(window, *edge, p.button, p.rootX, p.rootY, p.time);
}

void attachCaptionDrag(GtkWidget* titleHost, GtkWindow* window, std::function<bool()> mayMove) {
    if (!titleHost || !window || g_object_get_data(G_OBJECT(titleHost), "app-caption-drag")) return;
    auto* drag = new CaptionDrag{window, std::move(mayMove)};
    g_object_set_data_full(
        G_OBJECT(titleHost), "app-caption-drag", drag, [](gpointer p) { delete static_cast<CaptionDrag*>(p); });
    gtk_widget_add_events(titleHost, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    g_signal_connect(titleHost, "button-press-event", runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer p) {
        auto* d = static_cast<CaptionDrag*>(p);
        // The second press of a double click arms again; the double-click
        // event itself is left to the label's own handler.
        d->armed = e->button == 1 && e->type == GDK_BUTTON_PRESS;
        d->startX = e->x_root;
        d->startY = e->y_root;
        return FALSE;
    }),
        drag);
    g_signal_connect(titleHost, "button-release-event", runtime::callback([](GtkWidget*, GdkEventButton*, gpointer p) {
        static_cast<CaptionDrag*>(p)->armed = false;
        return FALSE;
    }),
        drag);
    g_signal_connect(titleHost, "motion-notify-event",
        runtime::callback([](GtkWidget* w, GdkEventMotion* e, gpointer p) {
            auto* d = static_cast<CaptionDrag*>(p);
            if (!d->armed || !(e->state & GDK_BUTTON1_MASK)) {
                d->armed = false;
                return FALSE;
            }
            if (!gtk_drag_check_threshold(w, static_cast<int>(d->startX), static_cast<int>(d->startY),
                    static_cast<int>(e->x_root), static_cast<int>(e->y_root)))
                return FALSE;
            d->armed = false;
            if (d->mayMove && !d->mayMove()) return FALSE;
            gtk_window_begin_move_drag(d->window, 1, static_cast<int>(d->startX), static_cast<int>(d->startY), e->time);
            return FALSE;
        }),
        drag);
}

}  // namespace app
