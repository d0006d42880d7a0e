// Key presses in an edit box meet the input method first. A key the input
// method takes to start, edit or commit a composition belongs to it: it
// raises no key-down and no character event, so Enter that only commits a
// composition never reaches the handlers that search or navigate.
#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>

namespace runtime {

// What the input method did with one key press.
struct ImOutcome {
    bool consumed = false;         // the input method took the key
    bool composingBefore = false;  // a composition was pending when it came
    bool composingAfter = false;   // one is pending afterwards
    std::string committed;         // text it committed for the key (UTF-8)
};

// Whether the key still raises its key-down and character events. Typing a
// plain character is the one key an input method takes that stays the
// program's: it commits exactly the character the key stands for, outside
// any composition. ownChar is the key's character code, if it has one.
bool keyRaisesEvents(const ImOutcome& outcome, std::optional<int> ownChar);

// Lets the entry's input method see a key press before the key's events
// are raised. Returns the outcome; the entry's text already holds whatever
// was committed. Needs watchComposition() on the entry.
ImOutcome filterThroughInputMethod(GtkEntry* entry, GdkEventKey* event);

// Follows the entry's composition (its preedit text) and collects what the
// input method commits while filterThroughInputMethod() runs.
void watchComposition(GtkEntry* entry);

// True while the entry's input method shows a pending composition.
bool isComposing(GtkEntry* entry);

}  // namespace runtime
