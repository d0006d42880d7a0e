#include "message_box.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include "runtime/gobject_ptr.h"
#include "windows.h"

namespace sysutil {
namespace {

// The toolkit window behind an X window of ours, if it is one.
GtkWindow* toolkitWindow(unsigned long xid) {
    if (xid == 0) return nullptr;
    GtkWindow* found = nullptr;
    GList* tops = gtk_window_list_toplevels();
    for (GList* l = tops; l && !found; l = l->next) {
        GdkWindow* w = gtk_widget_get_window(GTK_WIDGET(l->data));
        if (w && GDK_IS_X11_WINDOW(w) && gdk_x11_window_get_xid(w) == xid) found = GTK_WINDOW(l->data);
    }
    g_list_free(tops);
    return found;
}

GtkMessageType messageType(message_box::Icon icon) {
    switch (icon) {
        case message_box::Icon::kError: return GTK_MESSAGE_ERROR;
        case message_box::Icon::kQuestion: return GTK_MESSAGE_QUESTION;
        case message_box::Icon::kWarning: return GTK_MESSAGE_WARNING;
        case message_box::Icon::kInformation: return GTK_MESSAGE_INFO;
        default: return GTK_MESSAGE_OTHER;
    }
}

}  // namespace

int ownedMessageBox(std::string_view text, int style, std::string_view caption) {
    if (!gdk_display_get_default()) return kNoAnswer;
    GtkWindow* owner = toolkitWindow(windowOfProcess(static_cast<uint32_t>(getpid())));

    std::string body(text);
    GtkWidget* dialog = gtk_message_dialog_new(
        owner, GTK_DIALOG_MODAL, messageType(message_box::iconFor(style)), GTK_BUTTONS_NONE, "%s", body.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), std::string(caption).c_str());
    for (const message_box::Button& b : message_box::buttonsFor(style))
        gtk_dialog_add_button(GTK_DIALOG(dialog), b.label, b.code);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), message_box::buttonsFor(style).front().code);
    int dismiss = message_box::dismissCodeFor(style);
    if (dismiss == 0) gtk_window_set_deletable(GTK_WINDOW(dialog), FALSE);

    // Our own reference keeps the object valid even if someone destroys the
    // box while it runs (gtk_dialog_run then answers GTK_RESPONSE_NONE).
    auto keep = runtime::GObjectPtr<GtkWidget>::retain(dialog);
    int answer = 0;
    while (answer <= 0) {
        int response = gtk_dialog_run(GTK_DIALOG(dialog));
        if (response > 0) answer = response;
        else if (response == GTK_RESPONSE_NONE) break;
        else if (dismiss != 0) answer = dismiss;
        // A box that cannot be dismissed waits for one of its buttons.
    }
    gtk_widget_destroy(dialog);
    return answer > 0 ? answer - 1 : kNoAnswer;
}

}  // namespace sysutil
