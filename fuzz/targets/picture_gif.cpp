// The gif decoder alone, on whole files. Inputs of five bytes or fewer never
// reach it in the program (sniffing refuses them first), so they are left
// out here; the empty file is a known fault of the reader callback.
#include "fuzz_support.h"
#include "widgets/picture/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size <= 5) return 0;
    if (auto p = widgets::decoders::gif(fuzz::bytes(data, size))) fuzz::checkPicture(*p);
    return 0;
}
