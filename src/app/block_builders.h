// Property blocks of the program's own component kinds, in the formats the
// kinds read, as the window descriptions need them.
#pragma once

#include <optional>
#include <string>

#include "runtime/log_font.h"
#include "runtime/value.h"

namespace app {

inline constexpr uint32_t kNoTransparentColour = 0xFF000000;

// Graphic button: normal, hover and pressed pictures from the artwork.
runtime::Bytes picBtnBlock(const std::string& baseName, const char* extension, uint32_t transparent);
// A button that shows one picture only.
runtime::Bytes picBtnSingleBlock(const char* fileName, uint32_t transparent);

enum class TextEffect { kNone = 0, kWhiteShadow = 1, kRaised = 2, kBlackShadow = 3 };

runtime::Bytes transLabelBlock(const std::string& text, TextEffect effect, uint32_t colour, int horizontalAlign,
    std::optional<runtime::LogFont> font);

// Web browser: version 1, border style 0, silent, online, drop target on.
runtime::Bytes webBrowserBlock();

}  // namespace app
