// The browser's keyboard and mouse shortcuts as data: which key chord or
// mouse button means which browser action, and the tab arithmetic the tab
// shortcuts need. The GTK side (shortcut_glue.cpp) only translates events
// into these lookups and runs the actions through the buttons' handlers.
#pragma once

#include <cstdint>
#include <optional>

namespace app::shortcuts {

enum class Action {
    kNewTab,
    kCloseTab,
    kNextTab,
    kPreviousTab,
    kNumberedTab,  // Shortcut::tab is 1 to 8
    kLastTab,
    kFocusAddress,
    kFocusSearch,
    kRefresh,
    kStop,
    kBack,
    kForward,
};

struct Shortcut {
    Action action;
    int tab = 0;  // kNumberedTab only
    bool operator==(const Shortcut&) const = default;
};

// The shortcut of a key press: vk is the key's virtual-key code (as
// runtime::virtualKeyCode gives it), modifiers the Ctrl/Shift/Alt bits (1, 2, 4).
// Modifiers must match exactly: Ctrl+Shift+T is not Ctrl+T.
std::optional<Shortcut> forKey(int vk, int modifiers);

// The shortcut of an extra mouse button (8 back, 9 forward), if any.
std::optional<Shortcut> forMouseButton(unsigned button);

// The page a tab shortcut selects, given the current page and the page
// count (pages are 0-based); nullopt when the shortcut selects nothing (no
// pages, or Ctrl+n beyond the last tab). Next and previous wrap around.
std::optional<int32_t> targetPage(const Shortcut& s, int32_t currentPage, int32_t pageCount);

// Tab and Shift+Tab walk the address box, the search box and the current
// page, in that order, round and round. Inside the page Tab is the page's
// own key; the walk only starts from the two boxes.
enum class FocusStop { kAddress, kSearch, kPage };
FocusStop nextFocus(FocusStop from, bool backward);

}  // namespace app::shortcuts
