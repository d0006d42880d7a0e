// Keyword encoding: every GBK byte as %XX with upper-case digits, and the
// per-byte hook called once per byte.
#include "search/keyword_encoding.h"
#include "fuzz_support.h"
#include "runtime/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t calls = 0;
    std::string escaped = search::encodeKeyword(input, [&] { ++calls; });
    std::string gbkBytes = runtime::gbk::encode(input);
    fuzz::check(escaped.size() == 3 * gbkBytes.size(), "not three characters per GBK byte");
    fuzz::check(calls == gbkBytes.size(), "the per-byte hook ran a different number of times");
    static const char kHex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < gbkBytes.size(); ++i) {
        auto b = static_cast<uint8_t>(gbkBytes[i]);
        fuzz::check(escaped[3 * i] == '%' && escaped[3 * i + 1] == kHex[b >> 4] && escaped[3 * i + 2] == kHex[b & 15],
            "a byte is not escaped as %XX");
    }
    fuzz::check(search::encodeKeyword(input) == escaped, "the result depends on the hook");
    return 0;
}
