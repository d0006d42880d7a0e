#include "gbk.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace runtime::gbk {
namespace {

// One converter per direction, reused: iconv_open is costly and the program
// is single-threaded in its use of texts; the lock only guards the state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one unit; returns false when the input cannot be converted.
    bool convert(std::string_view in, std::string& out) {
        std::lock_guard lock(mutex_);
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[16];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
        // glibc's converters drop Unicode tag characters (U+E0000 block)
        // without an error; a character that became nothing was not
        // converted, or GBK would lose what GB18030 can keep.
        if (outPtr == buffer && !in.empty()) return false;
        out.append(buffer, outPtr);
        return inLeft == 0;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& utf8ToGbk() {
    static Converter c("GBK", "UTF-8");
    return c;
}
Converter& utf8ToGb18030() {
    static Converter c("GB18030", "UTF-8");
    return c;
}
Converter& gb18030ToUtf8() {
    static Converter c("UTF-8", "GB18030");
    return c;
}
Converter& gbkToUtf8() {
    static Converter c("UTF-8", "GBK");
    return c;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

size_t nextCharLength(std::string_view s, size_t pos) {
    if (pos >= s.size()) return 0;
    auto c = static_cast<unsigned char>(s[pos]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || pos + len > s.size()) return 0;
    for (size_t i = 1; i < len; ++i)
        if (!isContinuation(static_cast<unsigned char>(s[pos + i]))) return 0;
    return len;
}

std::string encode(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        size_t len = nextCharLength(utf8, pos);
        if (len == 0) {
            ++pos;
            continue;
        }
        std::string_view ch = utf8.substr(pos, len);
        pos += len;
        if (len == 1) {
            out.push_back(ch[0]);
            continue;
        }
        std::string bytes;
        if (utf8ToGbk().convert(ch, bytes) || (bytes.clear(), utf8ToGb18030().convert(ch, bytes))) out += bytes;
    }
    return out;
}

std::string decode(std::string_view in) {
    std::string out;
    out.reserve(in.size() * 3 / 2);
    for (size_t pos = 0; pos < in.size();) {
        auto c = static_cast<unsigned char>(in[pos]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++pos;
            continue;
        }
        bool done = false;
        // GBK first (it has the single-byte euro sign 0x80), then the
        // GB18030 two- and four-byte forms that encode() writes.
        struct Try {
            size_t len;
            Converter& conv;
        };
        for (Try t : {Try{1, gbkToUtf8()}, Try{2, gbkToUtf8()}, Try{2, gb18030ToUtf8()}, Try{4, gb18030ToUtf8()}}) {
            size_t len = t.len;
            if (pos + len > in.size()) break;
            std::string chunk;
            if (t.conv.convert(in.substr(pos, len), chunk)) {
                out += chunk;
                pos += len;
                done = true;
                break;
            }
        }
        if (!done) {
            out += "\xEF\xBF\xBD";
            ++pos;
        }
    }
    return out;
}

size_t byteLength(std::string_view utf8) { return encode(utf8).size(); }

std::string cutToBytes(std::string_view utf8, size_t maxBytes) {
    size_t used = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t len = nextCharLength(utf8, pos);
        if (len == 0) break;
        size_t width = len == 1 ? 1 : encode(utf8.substr(pos, len)).size();
        if (used + width > maxBytes) break;
        used += width;
        pos += len;
    }
    return std::string(utf8.substr(0, pos));
}

namespace {
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";
}

std::string removeSpaces(std::string_view utf8) {
    std::string out;
    for (size_t pos = 0; pos < utf8.size();) {
        if (utf8[pos] == ' ') {
            ++pos;
            continue;
        }
        if (utf8.substr(pos, 3) == kFullWidthSpace) {
            pos += 3;
            continue;
        }
        out.push_back(utf8[pos++]);
    }
    return out;
}

std::string trimBlanks(std::string_view s) {
    for (;;) {
        if (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        else if (s.substr(0, 3) == kFullWidthSpace) s.remove_prefix(3);
        else break;
    }
    for (;;) {
        if (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        else if (s.size() >= 3 && s.substr(s.size() - 3) == kFullWidthSpace) s.remove_suffix(3);
        else break;
    }
    return std::string(s);
}

}  // namespace runtime::gbk
