#include "keyword_encoding.h"

#include "runtime/gbk.h"

namespace search {

std::string encodeKeyword(std::string_view utf8, const std::function<void()>& afterEachByte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string bytes = runtime::gbk::encode(utf8);
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        out += '%';
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
        if (afterEachByte) afterEachByte();
    }
    return out;
}

}  // namespace search
