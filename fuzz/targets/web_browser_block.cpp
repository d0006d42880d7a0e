// The web browser control's property block, and the address and header texts
// it takes from outside.
#include "fuzz_support.h"
#include "widgets/web_browser_logic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    runtime::Bytes block = fuzz::bytes(data + 1, size - 1);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
        case 0:
            if (auto b = widgets::web_browser::Block::parse(block))
                fuzz::check(b->borderStyle == widgets::web_browser::clampBorderStyle(b->borderStyle),
                    "border style out of range");
            fuzz::checkRoundTrip<widgets::web_browser::Block>(block);
            break;
        case 1: (void)widgets::web_browser::normaliseAddress(text); break;
        case 2: {
            auto headers = widgets::web_browser::parseHeaders(text);
            auto again = widgets::web_browser::parseHeaders(widgets::web_browser::formatHeaders(headers));
            fuzz::check(again == headers, "headers change when formatted and parsed again");
            break;
        }
    }
    return 0;
}
