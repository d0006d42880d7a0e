// Reading a component's accessible object in GUI tests, as a screen reader
// would over the bridge, but in-process: ATK objects exist whether or not
// GTK's bridge to the accessibility bus is loaded.
#pragma once

#include <atk/atk.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace testsupport {

inline AtkObject* accessibleOf(runtime::Runtime& runtime, runtime::ComponentRef ref) {
    runtime::Component* c = runtime.component(ref);
    return c ? gtk_widget_get_accessible(c->widget()) : nullptr;
}

inline std::string nameOf(AtkObject* a) {
    const char* n = atk_object_get_name(a);
    return n ? n : "";
}

inline std::string descriptionOf(AtkObject* a) {
    const char* d = atk_object_get_description(a);
    return d ? d : "";
}

inline bool hasState(AtkObject* a, AtkStateType state) {
    AtkStateSet* set = atk_object_ref_state_set(a);
    bool has = set && atk_state_set_contains_state(set, state);
    if (set) g_object_unref(set);
    return has;
}

// The names of an object's actions.
inline std::vector<std::string> actionsOf(AtkObject* a) {
    std::vector<std::string> out;
    if (!ATK_IS_ACTION(a)) return out;
    for (int i = 0; i < atk_action_get_n_actions(ATK_ACTION(a)); ++i) {
        const char* n = atk_action_get_name(ATK_ACTION(a), i);
        out.push_back(n ? n : "");
    }
    return out;
}

// Records the notifications a client would get from one object.
struct AtkLog {
    std::vector<std::string> entries;  // "name", "description", "+selected", "-enabled", "add 2", "remove 1"

    AtkLog() = default;
    AtkLog(const AtkLog&) = delete;
    AtkLog& operator=(const AtkLog&) = delete;
    // A test that stops half-way must not leave handlers pointing at it.
    ~AtkLog() {
        for (AtkObject* a : watched_) {
            g_signal_handlers_disconnect_by_data(a, this);
            g_object_unref(a);
        }
    }

    void watch(AtkObject* a) {
        watched_.push_back(ATK_OBJECT(g_object_ref(a)));
        g_signal_connect(a, "notify::accessible-name",
            G_CALLBACK(+[](GObject*, GParamSpec*, gpointer p) { static_cast<AtkLog*>(p)->entries.push_back("name"); }),
            this);
        g_signal_connect(a, "notify::accessible-description", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer p) {
            static_cast<AtkLog*>(p)->entries.push_back("description");
        }),
            this);
        g_signal_connect(a, "state-change", G_CALLBACK(+[](AtkObject*, const char* state, gboolean on, gpointer p) {
            static_cast<AtkLog*>(p)->entries.push_back((on ? "+" : "-") + std::string(state));
        }),
            this);
        g_signal_connect(a, "children-changed::add", G_CALLBACK(+[](AtkObject*, guint i, gpointer, gpointer p) {
            static_cast<AtkLog*>(p)->entries.push_back("add " + std::to_string(i));
        }),
            this);
        g_signal_connect(a, "children-changed::remove", G_CALLBACK(+[](AtkObject*, guint i, gpointer, gpointer p) {
            static_cast<AtkLog*>(p)->entries.push_back("remove " + std::to_string(i));
        }),
            this);
    }
    void unwatch(AtkObject* a) { g_signal_handlers_disconnect_by_data(a, this); }

    bool has(const std::string& e) const {
        for (const auto& x : entries)
            if (x == e) return true;
        return false;
    }

private:
    std::vector<AtkObject*> watched_;
};

}  // namespace testsupport
