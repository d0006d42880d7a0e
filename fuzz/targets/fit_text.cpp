// Caption fitting: the first two bytes give the length m (-8..1015), the
// rest is the title.
#include "fuzz_support.h"
#include "runtime/gbk.h"
#include "tabs/tab_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    int32_t m = ((data[0] << 8 | data[1]) % 1024) - 8;
    std::string_view title(reinterpret_cast<const char*>(data + 2), size - 2);
    std::string fitted = tabs::FitText(title, m);
    if (m < 0) {
        fuzz::check(fitted.empty(), "a negative length gave a caption");
    } else {
        fuzz::check(runtime::gbk::byteLength(fitted) == static_cast<size_t>(m) + 1, "caption is not m + 1 GBK bytes");
        if (fuzz::validUtf8(title)) fuzz::check(fuzz::validUtf8(fitted), "caption is invalid UTF-8");
    }
    std::string caption = tabs::captionTextFromTitle(title, m);
    fuzz::check(
        caption.size() >= 2 && caption.compare(caption.size() - 2, 2, "  ") == 0, "caption does not end in two spaces");
    return 0;
}
