#include "decoders.h"

namespace runtime {

std::optional<Picture> decodePicture(const runtime::Bytes& bytes, uint32_t background) {
    switch (sniffPictureFormat(bytes)) {
        case PictureFormat::kBitmap: return decoders::bitmap(bytes);
        case PictureFormat::kJpeg: return decoders::jpeg(bytes);
        case PictureFormat::kPng: return decoders::png(bytes.data(), bytes.size(), pixelFromColour(background));
        case PictureFormat::kGif: return decoders::gif(bytes);
        case PictureFormat::kIcon:
        case PictureFormat::kCursor: return decoders::icon(bytes);
        // None of the program's pictures is PCX; it is recognised only so
        // that such a block is known to be a picture we do not show.
        case PictureFormat::kPcx:
        case PictureFormat::kNone: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Picture> decodePictureKeepingAlpha(const runtime::Bytes& bytes) {
    if (sniffPictureFormat(bytes) == PictureFormat::kPng) return decoders::pngKeepingAlpha(bytes.data(), bytes.size());
    return decodePicture(bytes, 0);
}

}  // namespace runtime
