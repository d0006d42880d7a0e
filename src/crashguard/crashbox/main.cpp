// varomel-crashbox: shows a crash report in a message box. The crashed
// process starts it and writes the report to its standard input; the
// caption comes as the first argument. It runs in a process of its own, so
// that the toolkit never runs inside a process that has just faulted.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string text;
    char chunk[4096];
    ssize_t n;
    // Bounded: a report is a few KiB; anything beyond is not a report.
    while (text.size() < 256 * 1024 && (n = read(0, chunk, sizeof(chunk))) > 0) text.append(chunk, size_t(n));
    if (!gtk_init_check(&argc, &argv)) {
        std::fputs("varomel-crashbox: no display to show the crash report on\n", stderr);
        return 1;
    }
    gchar* shown = g_utf8_make_valid(text.c_str(), gssize(text.size()));
    GtkWidget* dialog = gtk_message_dialog_new(
        nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", shown);
    gtk_window_set_title(GTK_WINDOW(dialog), argc > 1 ? argv[1] : "");
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    g_free(shown);
    return 0;
}
