// Sniffing and the decoder it chooses, as a property block's picture bytes
// reach them.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    runtime::Bytes input = fuzz::bytes(data, size);
    auto format = runtime::sniffPictureFormat(input);
    auto picture = runtime::decodePicture(input, 0x00ECECEC);
    if (picture) {
        fuzz::check(format != runtime::PictureFormat::kNone && format != runtime::PictureFormat::kPcx,
            "a picture decoded from bytes no format claims");
        fuzz::checkPicture(*picture);
    }
    if (size <= 5) fuzz::check(format == runtime::PictureFormat::kNone, "five bytes or fewer sniffed as a picture");
    return 0;
}
