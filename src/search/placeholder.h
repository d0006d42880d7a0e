// The grey hint of the search box and the address box: shown while the box
// is empty and unfocused, cleared on focus only when it is still the hint.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace search {

inline constexpr const char* kSearchPlaceholder = "输入关键字";
inline constexpr const char* kAddressPlaceholder = "输入网址或关键字";
inline constexpr uint32_t kPlaceholderColour = 0x00C8C8C8;  // RGB(200,200,200)
inline constexpr uint32_t kTextColour = 0x00000000;

// What a focus change does to a box; unset fields stay as they are.
struct BoxChange {
    std::optional<std::string> content;
    std::optional<uint32_t> colour;
};

// Whether the content, with ASCII and full-width spaces removed, is empty or
// the hint itself (so "输入 关键字" counts as the hint).
bool isBlankOrPlaceholder(std::string_view content, std::string_view placeholder);

// Focus gained: empties a box showing the hint; the text turns black always.
BoxChange onFocusGained(std::string_view content, std::string_view placeholder);
// Focus lost: a blank box (or one still holding the hint) gets the grey hint.
BoxChange onFocusLost(std::string_view content, std::string_view placeholder);

}  // namespace search
