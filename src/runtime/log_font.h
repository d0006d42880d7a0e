// The 60-byte font record the window descriptions carry (height, width,
// escapement, orientation, weight, italic/underline/strike flags, character
// set, precision and quality bytes, then a 32-byte GBK face name), and its
// mapping to a Pango font description.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "value.h"

// Declared as Pango declares it: the record itself is plain bytes.
typedef struct _PangoFontDescription PangoFontDescription;

namespace runtime {

struct LogFont {
    static constexpr size_t kSize = 60;
    static constexpr uint8_t kGb2312Charset = 134;

    int32_t height = 0;  // negative: character height in pixels
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = kGb2312Charset;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::string faceName;  // UTF-8; at most 31 GBK bytes are stored

    // Parses exactly 60 bytes; any other length is no font.
    static std::optional<LogFont> parse(const Bytes& bytes);
    Bytes serialize() const;

    // A font of `pixels` character height in the given face.
    static LogFont make(std::string face, int pixels, bool bold = false);

    // Pango description: the face falls back through fontconfig (with a CJK
    // family appended so the Chinese texts render); a negative height is the
    // character height in pixels, a positive one the cell height (taken as
    // the same here), 0 the default size.
    PangoFontDescription* toPango() const;  // caller frees
    int pixelHeight() const;
    // The language of text in the record's character set, as Pango names
    // it ("zh-cn" for GB2312, the character set of every font here).
    const char* language() const;
};

// The default user-interface font (what the platform's default GUI font
// stands for): 12 pixels, sans with CJK fallback.
PangoFontDescription* defaultGuiFont();

}  // namespace runtime
