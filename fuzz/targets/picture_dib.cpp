// Device-independent bitmaps as icons and bitmap files embed them. The first
// byte picks the icon layout and a pixel offset, the rest is the header and
// what follows it.
#include "fuzz_support.h"
#include "runtime/picture/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    bool iconLayout = data[0] & 1;
    size_t offset = (data[0] >> 1) * 4;  // 0 means "after the colour table"
    runtime::Bytes body = fuzz::bytes(data + 1, size - 1);
    if (auto d = runtime::decoders::dib(body.data(), body.size(), offset, iconLayout)) {
        fuzz::checkPicture(d->picture);
        if (d->hasAlpha)
            fuzz::check(d->alpha.size() == d->picture.pixels.size(), "alpha count differs from pixel count");
        if (d->andMask) {
            const uint8_t* end = body.data() + body.size();
            fuzz::check(d->andMask >= body.data() && d->andMask <= end, "mask outside the input");
            size_t rows = static_cast<size_t>(d->picture.height);
            fuzz::check(static_cast<size_t>(end - d->andMask) >= d->andStride * rows, "mask rows run past the input");
        }
    }
    return 0;
}
