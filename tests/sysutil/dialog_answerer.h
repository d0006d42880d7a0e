// Answers the message boxes a test opens, so a modal box never hangs it:
// while it lives, it watches for a shown message dialog, records what the
// box says and answers it with the given response.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

struct SeenBox {
    std::string text;
    std::string caption;
    GtkWindow* owner = nullptr;
    bool modal = false;
    std::vector<std::string> buttons;
};

class DialogAnswerer {
public:
    explicit DialogAnswerer(int response) : response_(response) {
        // Checked every few milliseconds from inside the box's own loop.
        source_ = g_timeout_add(5, &DialogAnswerer::poll, this);
    }
    ~DialogAnswerer() { g_source_remove(source_); }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::vector<SeenBox> seen;

private:
    static gboolean poll(gpointer p) {
        auto* self = static_cast<DialogAnswerer*>(p);
        GList* tops = gtk_window_list_toplevels();
        for (GList* l = tops; l; l = l->next) {
            if (!GTK_IS_MESSAGE_DIALOG(l->data) || !gtk_widget_get_visible(GTK_WIDGET(l->data))) continue;
            GtkDialog* d = GTK_DIALOG(l->data);
            SeenBox box;
            gchar* text = nullptr;
            g_object_get(d, "text", &text, nullptr);
            box.text = text ? text : "";
            g_free(text);
            const char* title = gtk_window_get_title(GTK_WINDOW(d));
            box.caption = title ? title : "";
            box.owner = gtk_window_get_transient_for(GTK_WINDOW(d));
            box.modal = gtk_window_get_modal(GTK_WINDOW(d));
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            GtkWidget* area = gtk_dialog_get_action_area(d);
            G_GNUC_END_IGNORE_DEPRECATIONS
            GList* children = gtk_container_get_children(GTK_CONTAINER(area));
            for (GList* c = children; c; c = c->next)
                if (GTK_IS_BUTTON(c->data)) box.buttons.push_back(gtk_button_get_label(GTK_BUTTON(c->data)));
            g_list_free(children);
            self->seen.push_back(box);
            gtk_dialog_response(d, self->response_);
            break;
        }
        g_list_free(tops);
        return G_SOURCE_CONTINUE;
    }

    int response_;
    guint source_ = 0;
};
