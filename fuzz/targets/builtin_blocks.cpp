// The runtime's own kinds' property blocks (edit box, label, timer, drawing
// panel) and the font record; the first byte picks the reader.
#include "fuzz_support.h"
#include "runtime/kinds/builtin_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    runtime::Bytes block = fuzz::bytes(data + 1, size - 1);
    switch (data[0] % 5) {
        case 0: fuzz::checkRoundTrip<runtime::EditBoxBlock>(block); break;
        case 1: fuzz::checkRoundTrip<runtime::LabelBlock>(block); break;
        case 2: fuzz::checkRoundTrip<runtime::TimerBlock>(block); break;
        case 3: fuzz::checkRoundTrip<runtime::DrawPanelBlock>(block); break;
        case 4:
            if (auto f = runtime::LogFont::parse(block)) {
                fuzz::check(block.size() == runtime::LogFont::kSize, "a font record of another length parsed");
                fuzz::check(fuzz::validUtf8(f->faceName), "face name is invalid UTF-8");
                fuzz::check(
                    f->serialize().size() == runtime::LogFont::kSize, "a font record written at another length");
                fuzz::checkRoundTrip<runtime::LogFont>(block);
            }
            break;
    }
    return 0;
}
