// The graphic button's property block.
#include "widgets/pic_btn_block.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    runtime::Bytes block = fuzz::bytes(data, size);
    if (auto b = widgets::PicBtnBlock::parse(block))
        fuzz::check(b->type == widgets::clampButtonType(b->type), "button type out of range");
    fuzz::checkRoundTrip<widgets::PicBtnBlock>(block);
    return 0;
}
