#include "shortcuts.h"

namespace app::shortcuts {

namespace {

constexpr int kCtrl = 1, kShift = 2, kAlt = 4;

struct Chord {
    int vk;
    int modifiers;
    Shortcut shortcut;
};

// Virtual-key codes used below.
constexpr int kTab = 9, kEscape = 27, kPageUp = 33, kPageDown = 34, kLeft = 37, kRight = 39;
constexpr int kF4 = 115, kF5 = 116, kF6 = 117;
constexpr int key(char c) { return c; }  // letters (upper case) and digits are their ASCII codes

constexpr Chord kChords[] = {
    {key('T'), kCtrl, {Action::kNewTab}},
    {key('W'), kCtrl, {Action::kCloseTab}},
    {kF4, kCtrl, {Action::kCloseTab}},
    {kTab, kCtrl, {Action::kNextTab}},
    {kPageDown, kCtrl, {Action::kNextTab}},
    {kTab, kCtrl | kShift, {Action::kPreviousTab}},
    {kPageUp, kCtrl, {Action::kPreviousTab}},
    {key('1'), kCtrl, {Action::kNumberedTab, 1}},
    {key('2'), kCtrl, {Action::kNumberedTab, 2}},
    {key('3'), kCtrl, {Action::kNumberedTab, 3}},
    {key('4'), kCtrl, {Action::kNumberedTab, 4}},
    {key('5'), kCtrl, {Action::kNumberedTab, 5}},
    {key('6'), kCtrl, {Action::kNumberedTab, 6}},
    {key('7'), kCtrl, {Action::kNumberedTab, 7}},
    {key('8'), kCtrl, {Action::kNumberedTab, 8}},
    {key('9'), kCtrl, {Action::kLastTab}},
    {key('L'), kCtrl, {Action::kFocusAddress}},
    {key('D'), kAlt, {Action::kFocusAddress}},
    {kF6, 0, {Action::kFocusAddress}},
    {key('K'), kCtrl, {Action::kFocusSearch}},
    {key('E'), kCtrl, {Action::kFocusSearch}},
    {kF5, 0, {Action::kRefresh}},
    {key('R'), kCtrl, {Action::kRefresh}},
    {kEscape, 0, {Action::kStop}},
    {kLeft, kAlt, {Action::kBack}},
    {kRight, kAlt, {Action::kForward}},
};

}  // namespace

std::optional<Shortcut> forKey(int vk, int modifiers) {
    for (const Chord& c : kChords)
        if (c.vk == vk && c.modifiers == (modifiers & (kCtrl | kShift | kAlt))) return c.shortcut;
    return std::nullopt;
}

std::optional<Shortcut> forMouseButton(unsigned button) {
    if (button == 8) return Shortcut{Action::kBack};
    if (button == 9) return Shortcut{Action::kForward};
    return std::nullopt;
}

std::optional<int32_t> targetPage(const Shortcut& s, int32_t currentPage, int32_t pageCount) {
    if (pageCount <= 0) return std::nullopt;
    // A current page outside the control (none selected) counts as the first.
    if (currentPage < 0 || currentPage >= pageCount) currentPage = 0;
    switch (s.action) {
        case Action::kNextTab: return (currentPage + 1) % pageCount;
        case Action::kPreviousTab: return (currentPage + pageCount - 1) % pageCount;
        case Action::kNumberedTab:
            if (s.tab < 1 || s.tab > pageCount) return std::nullopt;
            return s.tab - 1;
        case Action::kLastTab: return pageCount - 1;
        default: return std::nullopt;
    }
}

FocusStop nextFocus(FocusStop from, bool backward) {
    constexpr FocusStop kOrder[] = {FocusStop::kAddress, FocusStop::kSearch, FocusStop::kPage};
    constexpr int n = 3;
    int i = static_cast<int>(from);
    return kOrder[(i + (backward ? n - 1 : 1)) % n];
}

}  // namespace app::shortcuts
