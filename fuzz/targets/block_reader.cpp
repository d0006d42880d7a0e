// The property-block reader on its own: the first byte says how many of the
// following bytes are a script of reads (u32, i32, bytes, text), the rest is
// the block they read.
#include <algorithm>

#include "fuzz_support.h"
#include "runtime/property_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t scriptLength = std::min<size_t>(data[0], size - 1);
    const uint8_t* script = data + 1;
    runtime::Bytes block = fuzz::bytes(data + 1 + scriptLength, size - 1 - scriptLength);
    runtime::BlockReader r(block);
    for (size_t i = 0; i < scriptLength; ++i) {
        bool wasOk = r.ok();
        size_t before = r.remaining();
        bool got = false;
        switch (script[i] % 4) {
            case 0: got = r.u32().has_value(); break;
            case 1: got = r.i32().has_value(); break;
            case 2: {
                auto b = r.bytes();
                got = b.has_value();
                if (b) fuzz::check(b->size() + 4 <= before, "bytes longer than what was left");
                break;
            }
            case 3: {
                auto t = r.text();
                got = t.has_value();
                if (t) fuzz::check(fuzz::validUtf8(*t), "text read as invalid UTF-8");
                break;
            }
        }
        fuzz::check(r.remaining() <= before, "a read moved backwards");
        fuzz::check(r.remaining() <= block.size(), "position past the end");
        if (!wasOk) fuzz::check(!got && !r.ok(), "a bad reader read again");
        if (!got) fuzz::check(!r.ok(), "a failed read left the reader good");
    }
    return 0;
}
