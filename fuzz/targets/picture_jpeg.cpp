// The jpeg decoder alone, on whole files.
#include "fuzz_support.h"
#include "runtime/picture/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto p = runtime::decoders::jpeg(fuzz::bytes(data, size))) fuzz::checkPicture(*p);
    return 0;
}
