// Shared by the fuzz targets: input as the program's byte type, checks that
// stop the run with a message, and the invariants every parsed picture and
// written block must keep.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/picture/picture.h"
#include "runtime/value.h"

namespace fuzz {

inline runtime::Bytes bytes(const uint8_t* data, size_t size) { return runtime::Bytes(data, data + size); }

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

// Strict UTF-8 (no overlong forms, surrogates or code points past U+10FFFF);
// unlike GLib's check, a NUL byte is a valid character here.
inline bool validUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<uint8_t>(s[i]);
        size_t n = c < 0x80                 ? 1
                   : c >= 0xC2 && c <= 0xDF ? 2
                   : c >= 0xE0 && c <= 0xEF ? 3
                   : c >= 0xF0 && c <= 0xF4 ? 4
                                            : 0;
        if (n == 0 || i + n > s.size()) return false;
        uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            auto b = static_cast<uint8_t>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = cp << 6 | (b & 0x3F);
        }
        static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

// A decoded picture is within the size limits and holds exactly its pixels;
// touching every pixel lets the sanitizer see a short buffer.
inline void checkPicture(const runtime::Picture& p) {
    check(runtime::pictureSizeAcceptable(p.width, p.height), "decoded picture outside the size limits");
    check(p.pixels.size() == static_cast<size_t>(p.width) * static_cast<size_t>(p.height),
        "pixel count differs from width x height");
    check(p.alpha.empty() || p.alpha.size() == p.pixels.size(), "alpha count differs from the pixel count");
    uint32_t sum = 0;
    for (uint32_t px : p.pixels) sum |= px;
    check((sum & 0xFF000000u) == 0, "pixel with bits above 0x00FFFFFF");
}

// What a reader accepted, the program must be able to write and read back
// unchanged: parse(serialize(parse(x))) serializes to the same bytes.
template <class Block>
void checkRoundTrip(const runtime::Bytes& input) {
    auto first = Block::parse(input);
    if (!first) return;
    runtime::Bytes written = first->serialize();
    auto second = Block::parse(written);
    check(second.has_value(), "a block the program wrote is refused when read back");
    check(second->serialize() == written, "a block changes when written and read again");
}

}  // namespace fuzz
