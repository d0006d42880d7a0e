#include "input_method.h"

namespace runtime {

namespace {

// Per-entry state, kept on the entry itself.
struct Composition {
    bool composing = false;
    std::string* capture = nullptr;  // set only while a key is filtered
};

constexpr const char* kDataKey = "rt-composition";

Composition* compositionOf(GtkEntry* entry) {
    return static_cast<Composition*>(g_object_get_data(G_OBJECT(entry), kDataKey));
}

}  // namespace

bool keyRaisesEvents(const ImOutcome& o, std::optional<int> ownChar) {
    // Every key during a composition edits or commits it (Enter included,
    // whether or not the input method admits to having taken it).
    if (o.composingBefore) return false;
    if (!o.consumed) return true;
    if (o.composingAfter || o.committed.empty() || !ownChar || *ownChar <= 0) return false;
    char own[8] = {};
    g_unichar_to_utf8(static_cast<gunichar>(*ownChar), own);
    return o.committed == own;
}

void watchComposition(GtkEntry* entry) {
    if (compositionOf(entry)) return;
    g_object_set_data_full(
        G_OBJECT(entry), kDataKey, new Composition, [](gpointer p) { delete static_cast<Composition*>(p); });
    g_signal_connect(entry, "preedit-changed", G_CALLBACK(+[](GtkEntry* e, const char* preedit, gpointer) {
        if (Composition* c = compositionOf(e)) c->composing = preedit && *preedit;
    }),
        nullptr);
    // A commit reaches the text as an insertion while the key is filtered.
    g_signal_connect(entry, "insert-text",
        G_CALLBACK(+[](GtkEditable* e, const char* text, int length, int*, gpointer) {
            Composition* c = compositionOf(GTK_ENTRY(e));
            if (c && c->capture && text) c->capture->append(text, length < 0 ? std::string(text).size() : length);
        }),
        nullptr);
}

bool isComposing(GtkEntry* entry) {
    const Composition* c = compositionOf(entry);
    return c && c->composing;
}

ImOutcome filterThroughInputMethod(GtkEntry* entry, GdkEventKey* event) {
    ImOutcome o;
    Composition* c = compositionOf(entry);
    o.composingBefore = c && c->composing;
    if (!gtk_editable_get_editable(GTK_EDITABLE(entry))) return o;
    // Held while the input method runs: a handler of its commit may
    // destroy the box.
    g_object_ref(entry);
    if (c) c->capture = &o.committed;
    o.consumed = gtk_entry_im_context_filter_keypress(entry, event);
    if (c) c->capture = nullptr;
    o.composingAfter = c && c->composing;
    g_object_unref(entry);
    return o;
}

}  // namespace runtime
