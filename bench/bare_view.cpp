// The bare engine: one window holding one web view that loads argv[1], with
// the program's own view settings and shared private context. Nothing here
// exists but what the measurements need, so no shell built on the engine can
// load faster or hold less.
//
// For the many-views comparison, F2 opens a further view on the second
// argument in the same window and shows it in place of the others, as the
// program does with a new tab; F3 drops the newest extra view.
#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <vector>

#include "widgets/web_browser_view.h"

namespace {

struct Bare {
    GtkWidget* window = nullptr;
    GtkWidget* stack = nullptr;
    std::vector<runtime::GObjectPtr<WebKitWebView>> views;
    const char* nextUrl = nullptr;
};

// The window title follows the shown view's page title, as the program's
// caption does; the harness watches it from outside.
void followTitle(WebKitWebView* view, Bare* bare) {
    g_signal_connect(view, "notify::title", runtime::callback([](WebKitWebView* v, GParamSpec*, gpointer data) {
        auto* b = static_cast<Bare*>(data);
        const char* title = webkit_web_view_get_title(v);
        if (!b->views.empty() && b->views.back().get() == v)
            gtk_window_set_title(GTK_WINDOW(b->window), title ? title : "");
    }),
        bare);
}

void addView(Bare* bare, const char* url) {
    runtime::GObjectPtr<WebKitWebView> view = widgets::web_browser::newView();
    followTitle(view.get(), bare);
    gtk_widget_show(GTK_WIDGET(view.get()));
    gtk_container_add(GTK_CONTAINER(bare->stack), GTK_WIDGET(view.get()));
    gtk_stack_set_visible_child(GTK_STACK(bare->stack), GTK_WIDGET(view.get()));
    webkit_web_view_load_uri(view.get(), url);
    bare->views.push_back(std::move(view));
}

gboolean onKey(GtkWidget*, GdkEventKey* key, gpointer data) {
    auto* bare = static_cast<Bare*>(data);
    if (key->keyval == GDK_KEY_F2 && bare->nextUrl) {
        addView(bare, bare->nextUrl);
        return TRUE;
    }
    if (key->keyval == GDK_KEY_F3 && bare->views.size() > 1) {
        gtk_container_remove(GTK_CONTAINER(bare->stack), GTK_WIDGET(bare->views.back().get()));
        bare->views.pop_back();
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    // The sandbox check is the program's, not the engine's: it runs off the
    // path to the first page here as it does in the program.
    widgets::web_browser::startSandboxCheck();
    gtk_init(&argc, &argv);
    if (argc < 2) {
        g_printerr("usage: bare_view URL [URL-for-F2]\n");
        return 2;
    }
    Bare bare;
    bare.nextUrl = argc > 2 ? argv[2] : nullptr;
    bare.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    // The program starts maximised; give the page the same room.
    GdkRectangle area{0, 0, 1030, 750};
    if (GdkMonitor* m = gdk_display_get_primary_monitor(gdk_display_get_default())) gdk_monitor_get_workarea(m, &area);
    else if (GdkMonitor* first = gdk_display_get_monitor(gdk_display_get_default(), 0))
        gdk_monitor_get_workarea(first, &area);
    gtk_window_set_default_size(GTK_WINDOW(bare.window), area.width, area.height);
    gtk_window_move(GTK_WINDOW(bare.window), area.x, area.y);
    bare.stack = gtk_stack_new();
    gtk_container_add(GTK_CONTAINER(bare.window), bare.stack);
    g_signal_connect(bare.window, "key-press-event", G_CALLBACK(onKey), &bare);
    g_signal_connect(bare.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    addView(&bare, argv[1]);
    gtk_widget_show_all(bare.window);
    gtk_main();
    return 0;
}
