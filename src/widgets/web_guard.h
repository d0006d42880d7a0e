// The web browser control's defences against hostile pages that need no
// display: cutting page texts, the new-window budget of one user gesture,
// the navigations a view made with their gesture (so that a download can be
// traced to a click) and the file name a download may propose.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace widgets::web_browser {

// Titles and status texts are cut to this many characters before any
// handler sees them; a page can set a title of megabytes.
constexpr size_t kMaxPageTextCharacters = 1024;

// The first `limit` characters of UTF-8 text, never cutting inside one.
// Only the bytes kept are read, so a huge text costs no more than a short one.
std::string cutPageText(std::string_view text, size_t limit = kMaxPageTextCharacters);

// New windows a page may open per real button or key press: one click whose
// handler calls window.open in a loop gets this many, the rest are refused.
class PopupBudget {
public:
    static constexpr int kPerGesture = 20;
    // A real button or key press: the count starts again.
    void gesture() { used_ = 0; }
    // A page asks for a new window: true while the budget lasts.
    bool take();
    // True once per gesture, on the first refusal (for one message).
    bool firstRefusal() const { return used_ == kPerGesture + 1; }

private:
    int used_ = 0;
};

// The navigations of one view with whether a user gesture started them.
// The engine tells the gesture only when a navigation is decided; a
// response, and a download made from it, carry none. A download is the
// user's when a gesture navigation to the same address (redirects are
// decided again with the gesture kept) was decided shortly before.
class NavigationLog {
public:
    static constexpr size_t kEntries = 64;
    // A gesture older than this no longer starts a download (a slow server
    // still answers well within it).
    static constexpr int64_t kGestureLifetimeUs = 120 * 1000000LL;

    void record(std::string_view uri, bool gesture, int64_t nowUs);
    // Whether the latest decision for uri had a gesture and is recent; the
    // gesture is used up, so one click starts at most one download.
    bool takeGesture(std::string_view uri, int64_t nowUs);

private:
    struct Entry {
        std::string uri;
        bool gesture;
        int64_t timeUs;
    };
    std::deque<Entry> entries_;  // oldest first
};

// The server's proposed file name reduced to a safe base name: no path
// (everything up to the last '/' or '\\' is dropped), no control
// characters, no leading dots or spaces, valid UTF-8, at most 255 bytes
// (cut at a character, keeping a short extension). Empty when nothing is
// left.
std::string safeBaseName(std::string_view proposed);
constexpr size_t kMaxFileNameBytes = 255;

}  // namespace widgets::web_browser
