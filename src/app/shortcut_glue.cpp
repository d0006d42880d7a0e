#include "shortcut_glue.h"

#include <gtk/gtk.h>

#include "runtime/input_method.h"
#include "runtime/key_codes.h"
#include "shortcuts.h"
#include "tabs/main_ui.h"
#include "tabs/tab_components.h"
#include "tabs/tab_table.h"
#include "widgets/pic_btn_props.h"

namespace app {

namespace {

using shortcuts::Action;
using shortcuts::Shortcut;

runtime::Runtime& runtime() { return runtime::Runtime::instance(); }

bool shown(runtime::ComponentRef ref) {
    runtime::Runtime& r = runtime();
    if (!r.exists(ref)) return false;
    return runtime::asBool(r.get(ref, runtime::prop::kVisible)) &&
           !runtime::asBool(r.get(ref, runtime::prop::kDisabled));
}

// Runs a picture button's click handler as a click on it would.
void click(runtime::ComponentRef button) {
    if (runtime().exists(button)) runtime().raise(button, widgets::pic_btn::kClick);
}

// Focuses an edit box the way a click into it does (its focus handler
// applies the placeholder rules), then selects all of its text.
bool focusEditBox(runtime::ComponentRef box) {
    runtime::Runtime& r = runtime();
    if (!shown(box)) return false;
    runtime::Component* c = r.component(box);
    GtkWidget* entry = c ? c->widget() : nullptr;
    if (!entry || !GTK_IS_ENTRY(entry)) return false;
    gtk_widget_grab_focus(entry);
    // The focus handler may have replaced the text; select what is there now.
    if (r.exists(box)) gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1);
    return true;
}

void repaintMainWindow() {
    if (GtkWindow* w = runtime().gtkWindow(tabs::mainUi().window.window)) gtk_widget_queue_draw(GTK_WIDGET(w));
}

// Runs one shortcut; false when it does nothing now (a button it stands
// for is hidden, a tab it names does not exist), so the key goes on to the
// focused component as any other key.
bool run(const Shortcut& s) {
    const tabs::MainUi& u = tabs::mainUi();
    switch (s.action) {
        case Action::kNewTab:
            if (!shown(u.newTabButton)) return false;
            click(u.newTabButton);
            return true;
        case Action::kCloseTab: {
            // What the current tab's own close button does, whether or not
            // that button is on screen just now.
            int32_t page = tabs::components::currentPage();
            if (page < 0 || page >= tabs::components::pageCount()) return false;
            tabs::CloseTabAt(page);
            repaintMainWindow();
            return true;
        }
        case Action::kNextTab:
        case Action::kPreviousTab:
        case Action::kNumberedTab:
        case Action::kLastTab: {
            auto target = shortcuts::targetPage(s, tabs::components::currentPage(), tabs::components::pageCount());
            if (!target) return false;
            // Selecting through the control runs its page-changed event, as
            // a click on the header does.
            if (*target != tabs::components::currentPage()) tabs::components::setCurrentPage(*target);
            return true;
        }
        case Action::kFocusAddress: return focusEditBox(u.addressBox);
        case Action::kFocusSearch: return focusEditBox(u.searchBox);
        case Action::kRefresh:
            // While a page loads the refresh button gives way to the stop
            // button; reloading is still what the user asked for.
            if (!runtime().exists(u.refreshButton)) return false;
            click(u.refreshButton);
            return true;
        case Action::kStop:
            if (!shown(u.stopButton)) return false;
            click(u.stopButton);
            return true;
        case Action::kBack:
            if (!shown(u.backButton)) return false;
            click(u.backButton);
            return true;
        case Action::kForward:
            if (!shown(u.forwardButton)) return false;
            click(u.forwardButton);
            return true;
    }
    return false;
}

// A composition pending in the focused edit box owns every key: Escape
// cancels it, Ctrl+chords are the input method's own.
bool composing(GtkWindow* window) {
    GtkWidget* focus = gtk_window_get_focus(window);
    return focus && GTK_IS_ENTRY(focus) && runtime::isComposing(GTK_ENTRY(focus));
}

GtkWidget* entryOf(runtime::ComponentRef box) {
    runtime::Component* c = runtime().exists(box) ? runtime().component(box) : nullptr;
    return c ? c->widget() : nullptr;
}

// Tab and Shift+Tab from one of the two boxes go to the next stop of the
// walk; false when the focus is elsewhere (the page keeps its Tab).
bool moveFocus(GtkWidget* focus, bool backward) {
    using shortcuts::FocusStop;
    const tabs::MainUi& u = tabs::mainUi();
    FocusStop from;
    if (focus && focus == entryOf(u.addressBox)) from = FocusStop::kAddress;
    else if (focus && focus == entryOf(u.searchBox)) from = FocusStop::kSearch;
    else return false;
    // A stop that cannot take the focus now (a hidden box, no page) is
    // passed over; at worst the walk comes back to where it started.
    for (int step = 0; step < 2; ++step) {
        from = shortcuts::nextFocus(from, backward);
        if (from == FocusStop::kAddress && focusEditBox(u.addressBox)) return true;
        if (from == FocusStop::kSearch && focusEditBox(u.searchBox)) return true;
        if (from == FocusStop::kPage && tabs::isTab(tabs::currentTab)) {
            GtkWidget* page = entryOf(tabs::tabTable[static_cast<size_t>(tabs::currentTab - 1)].browser());
            if (page && gtk_widget_child_focus(page, backward ? GTK_DIR_TAB_BACKWARD : GTK_DIR_TAB_FORWARD))
                return true;
        }
    }
    return true;  // the focus stays; Tab is not typed into the box either
}

gboolean onKeyPress(GtkWidget* window, GdkEventKey* e, gpointer) {
    if (e->is_modifier) return FALSE;
    const int modifiers = runtime::modifierBits(e->state);
    if (runtime::virtualKeyCode(e->keyval) == 9 && (modifiers == 0 || modifiers == runtime::modifier::kShift) &&
        !composing(GTK_WINDOW(window)))
        return moveFocus(gtk_window_get_focus(GTK_WINDOW(window)), modifiers != 0) ? TRUE : FALSE;
    auto s = shortcuts::forKey(runtime::virtualKeyCode(e->keyval), modifiers);
    if (!s || composing(GTK_WINDOW(window))) return FALSE;
    return run(*s) ? TRUE : FALSE;
}

void onExtraButton(GtkGestureMultiPress* gesture, gint, gdouble, gdouble, gpointer) {
    guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    auto s = shortcuts::forMouseButton(button);
    if (s && run(*s)) gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

}  // namespace

void installShortcuts(runtime::Runtime& r, runtime::ComponentRef mainWindow) {
    GtkWindow* window = r.gtkWindow(mainWindow.window);
    if (!window) {
        g_warning("no main window to take the keyboard shortcuts");
        return;
    }
    if (g_object_get_data(G_OBJECT(window), "varomel-shortcuts")) return;
    g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), nullptr);

    // Caught in the capture phase: a web view under the pointer would
    // otherwise take the back and forward buttons itself.
    GtkGesture* g = gtk_gesture_multi_press_new(GTK_WIDGET(window));
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(g), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(g), GTK_PHASE_CAPTURE);
    g_signal_connect(g, "pressed", G_CALLBACK(onExtraButton), nullptr);
    // The gesture lives as long as the window.
    g_object_set_data_full(G_OBJECT(window), "varomel-shortcuts", g, g_object_unref);
}

}  // namespace app
