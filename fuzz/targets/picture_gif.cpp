// The gif decoder alone, on whole files of any length (the program's
// sniffing refuses five bytes or fewer first; the decoder must not rely on
// that).
#include "fuzz_support.h"
#include "runtime/picture/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto p = runtime::decoders::gif(fuzz::bytes(data, size))) fuzz::checkPicture(*p);
    return 0;
}
