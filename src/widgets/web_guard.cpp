#include "web_guard.h"

#include <algorithm>

namespace widgets::web_browser {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the first `limit` characters (each a lead byte and its
// continuation bytes).
size_t prefixBytes(std::string_view text, size_t limit) {
    size_t i = 0;
    for (size_t chars = 0; i < text.size() && chars < limit; ++chars) {
        ++i;
        while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i]))) ++i;
    }
    return i;
}

// Bytes of text that fit in `budget` without cutting a character.
size_t fitBytes(std::string_view text, size_t budget) {
    if (text.size() <= budget) return text.size();
    size_t n = budget;
    while (n > 0 && isContinuation(static_cast<unsigned char>(text[n]))) --n;
    return n;
}

// Replaces every byte that is not part of a valid UTF-8 character with '_'.
std::string validUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool ok = len > 0 && i + len <= s.size();
        for (size_t k = 1; ok && k < len; ++k) ok = isContinuation(static_cast<unsigned char>(s[i + k]));
        if (ok && len > 1) {
            // Overlong forms and surrogates are not characters.
            uint32_t cp = c & (0x7F >> len);
            for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            ok = cp >= kMin[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        }
        if (!ok) {
            out += '_';
            ++i;
        } else {
            out.append(s.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace

std::string cutPageText(std::string_view text, size_t limit) {
    return std::string(text.substr(0, prefixBytes(text, limit)));
}

bool PopupBudget::take() {
    // Counting stops one past the first refusal, so that it is told once.
    if (used_ <= kPerGesture + 1) ++used_;
    return used_ <= kPerGesture;
}

void NavigationLog::record(std::string_view uri, bool gesture, int64_t nowUs) {
    entries_.push_back({std::string(uri), gesture, nowUs});
    if (entries_.size() > kEntries) entries_.pop_front();
}

bool NavigationLog::takeGesture(std::string_view uri, int64_t nowUs) {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->uri != uri) continue;
        bool granted = it->gesture && nowUs - it->timeUs <= kGestureLifetimeUs && nowUs >= it->timeUs;
        it->gesture = false;
        return granted;
    }
    return false;
}

std::string safeBaseName(std::string_view proposed) {
    if (size_t slash = proposed.find_last_of("/\\"); slash != std::string_view::npos)
        proposed = proposed.substr(slash + 1);
    std::string name;
    for (char c : proposed) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) name += c;
    }
    name = validUtf8(name);
    // C1 controls (U+0080..U+009F) are characters of their own in UTF-8.
    for (size_t i = 0; i + 1 < name.size();) {
        if (static_cast<unsigned char>(name[i]) == 0xC2 && static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(name[i + 1]) <= 0x9F)
            name.erase(i, 2);
        else ++i;
    }
    size_t start = name.find_first_not_of(". ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.size() <= kMaxFileNameBytes) return name;
    // Too long: keep a short extension and cut the stem at a character.
    std::string extension;
    if (size_t dot = name.rfind('.'); dot != std::string::npos && name.size() - dot <= 16) extension = name.substr(dot);
    std::string_view stem(name.data(), name.size() - extension.size());
    return std::string(stem.substr(0, fitBytes(stem, kMaxFileNameBytes - extension.size()))) + extension;
}

}  // namespace widgets::web_browser
