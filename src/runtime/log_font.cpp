#include "log_font.h"

#include <pango/pango.h>

#include <cstring>

#include "gbk.h"
#include "property_block.h"

namespace runtime {

std::optional<LogFont> LogFont::parse(const Bytes& b) {
    if (b.size() != kSize) return std::nullopt;
    auto i32 = [&](size_t off) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[off + i]) << (8 * i);
        return static_cast<int32_t>(v);
    };
    LogFont f;
    f.height = i32(0);
    f.width = i32(4);
    f.escapement = i32(8);
    f.orientation = i32(12);
    f.weight = i32(16);
    f.italic = b[20] != 0;
    f.underline = b[21] != 0;
    f.strikeOut = b[22] != 0;
    f.charSet = b[23];
    f.outPrecision = b[24];
    f.clipPrecision = b[25];
    f.quality = b[26];
    f.pitchAndFamily = b[27];
    size_t n = 0;
    while (n < 32 && b[28 + n] != 0) ++n;
    f.faceName = gbk::decode(std::string_view(reinterpret_cast<const char*>(&b[28]), n));
    return f;
}

Bytes LogFont::serialize() const {
    BlockWriter w;
    w.i32(height).i32(width).i32(escapement).i32(orientation).i32(weight);
    Bytes out = w.take();
    for (uint8_t v : {uint8_t(italic), uint8_t(underline), uint8_t(strikeOut), charSet, outPrecision, clipPrecision,
             quality, pitchAndFamily})
        out.push_back(v);
    std::string face = gbk::encode(gbk::cutToBytes(faceName, 31));
    Bytes name(32, 0);
    std::memcpy(name.data(), face.data(), face.size());
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

LogFont LogFont::make(std::string face, int pixels, bool bold) {
    LogFont f;
    f.height = -pixels;
    f.weight = bold ? 700 : 400;
    f.faceName = std::move(face);
    return f;
}

int LogFont::pixelHeight() const {
    if (height == 0) return 12;
    return height < 0 ? -height : height;
}

PangoFontDescription* LogFont::toPango() const {
    PangoFontDescription* d = pango_font_description_new();
    std::string families = faceName.empty() ? std::string("Sans") : faceName;
    families += ",Noto Sans CJK SC,Sans";
    pango_font_description_set_family(d, families.c_str());
    pango_font_description_set_absolute_size(d, pixelHeight() * PANGO_SCALE);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(weight <= 0 ? 400 : weight));
    pango_font_description_set_style(d, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return d;
}

const char* LogFont::language() const {
    switch (charSet) {
        case 128: return "ja";     // Shift-JIS
        case 129: return "ko";     // Hangul
        case 136: return "zh-tw";  // Big5
        default: return "zh-cn";   // GB2312, and the ANSI and default sets on a Chinese system
    }
}

PangoFontDescription* defaultGuiFont() { return LogFont::make("Sans", 12).toPango(); }

}  // namespace runtime
