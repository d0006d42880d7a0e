// The GBK codec both ways and the byte measures built on it.
#include "runtime/gbk.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);

    // Any bytes decode to valid UTF-8.
    std::string text = runtime::gbk::decode(input);
    fuzz::check(fuzz::validUtf8(text), "decode gave invalid UTF-8");

    // Valid UTF-8 survives the round trip through GBK/GB18030.
    std::string encoded = runtime::gbk::encode(text);
    fuzz::check(runtime::gbk::decode(encoded) == text, "decode(encode(text)) differs from the text");
    fuzz::check(runtime::gbk::byteLength(text) == encoded.size(), "byteLength differs from the encoded size");

    // The same functions on raw, possibly invalid UTF-8 must not misbehave.
    for (std::string_view t : {std::string_view(text), input}) {
        size_t limit = size ? data[0] : 0;
        std::string cut = runtime::gbk::cutToBytes(t, limit);
        fuzz::check(runtime::gbk::byteLength(cut) <= limit, "cutToBytes went over the limit");
        fuzz::check(fuzz::validUtf8(t) <= fuzz::validUtf8(cut), "cutToBytes cut inside a character");
        std::string spaceless = runtime::gbk::removeSpaces(t);
        // In broken UTF-8 a removal can join stray bytes into a new space;
        // texts from the toolkit are always whole characters.
        if (fuzz::validUtf8(t))
            fuzz::check(spaceless.find(' ') == std::string::npos && spaceless.find("\xE3\x80\x80") == std::string::npos,
                "removeSpaces left a space");
        std::string trimmed = runtime::gbk::trimBlanks(t);
        fuzz::check(trimmed.size() <= t.size(), "trimBlanks grew the text");
        for (size_t pos = 0; pos < t.size();) {
            size_t n = runtime::gbk::nextCharLength(t, pos);
            if (n == 0) break;
            fuzz::check(pos + n <= t.size(), "nextCharLength runs past the end");
            pos += n;
        }
    }
    return 0;
}
