// The transparent label's property block.
#include "widgets/trans_label_block.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    runtime::Bytes block = fuzz::bytes(data, size);
    if (auto b = widgets::TransLabelBlock::parse(block)) fuzz::check(fuzz::validUtf8(b->text), "text is invalid UTF-8");
    fuzz::checkRoundTrip<widgets::TransLabelBlock>(block);
    return 0;
}
