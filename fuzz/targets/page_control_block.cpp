// The tab control's property block, its page list and its image-list
// streams; the first byte picks the reader.
#include "fuzz_support.h"
#include "widgets/page_control.h"
#include "widgets/page_control/page_limits.h"

namespace {

void checkPages(const std::vector<widgets::PageControlPage>& pages) {
    fuzz::check(pages.size() <= widgets::page_control::kMaxPages, "more pages than the limit");
    for (const auto& p : pages)
        fuzz::check(fuzz::validUtf8(p.caption) && fuzz::validUtf8(p.tip), "page text is invalid UTF-8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    runtime::Bytes block = fuzz::bytes(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            if (auto b = widgets::PageControlBlock::parse(block)) {
                checkPages(b->pages);
                fuzz::check(b->headerHeight == widgets::page_control::clampHeaderHeight(b->headerHeight),
                    "header height out of range");
            }
            fuzz::checkRoundTrip<widgets::PageControlBlock>(block);
            break;
        case 1:
            if (auto pages = widgets::PageControlBlock::parsePages(block)) {
                checkPages(*pages);
                auto again = widgets::PageControlBlock::parsePages(widgets::PageControlBlock::serializePages(*pages));
                fuzz::check(again && *again == *pages, "a page list changes when written and read again");
            }
            break;
        case 2: fuzz::checkRoundTrip<widgets::ImageListStream>(block); break;
    }
    return 0;
}
