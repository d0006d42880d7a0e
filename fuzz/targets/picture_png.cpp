// The PNG decoder alone; the last three bytes choose the background that
// alpha is blended over, so blending is fuzzed too.
#include "fuzz_support.h"
#include "runtime/picture/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t background = 0x00ECECEC;
    if (size >= 3) background = runtime::pixelRgb(data[size - 3], data[size - 2], data[size - 1]);
    if (auto p = runtime::decoders::png(data, size, background)) fuzz::checkPicture(*p);
    return 0;
}
