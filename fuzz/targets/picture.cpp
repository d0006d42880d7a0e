// Sniffing and the decoder it chooses, as a property block's picture bytes
// reach them.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rt::Bytes input = fuzz::bytes(data, size);
    auto format = rt::sniffPictureFormat(input);
    auto picture = rt::decodePicture(input, 0x00ECECEC);
    if (picture) {
        fuzz::check(format != rt::PictureFormat::kNone && format != rt::PictureFormat::kPcx,
                    "a picture decoded from bytes no format claims");
        fuzz::checkPicture(*picture);
    }
    if (size <= 5) fuzz::check(format == rt::PictureFormat::kNone, "five bytes or fewer sniffed as a picture");
    return 0;
}
