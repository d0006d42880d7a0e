#include "block_builders.h"

#include "artwork.h"
#include "runtime/property_block.h"

namespace app {

runtime::Bytes picBtnBlock(const std::string& baseName, const char* extension, uint32_t transparent) {
    runtime::BlockWriter w;
    w.u32(1).u32(0).u32(0).u32(transparent);
    for (const char* state : {"normal", "hover", "pressed"})
        w.bytes(picture((baseName + "_" + state + "." + extension).c_str()));
    w.bytes({});  // no disabled picture: the program lays a second button over instead
    return w.take();
}

runtime::Bytes picBtnSingleBlock(const char* fileName, uint32_t transparent) {
    runtime::BlockWriter w;
    w.u32(1).u32(0).u32(0).u32(transparent);
    w.bytes(picture(fileName)).bytes({}).bytes({}).bytes({});
    return w.take();
}

runtime::Bytes transLabelBlock(const std::string& text, TextEffect effect, uint32_t colour, int horizontalAlign,
    std::optional<runtime::LogFont> font) {
    constexpr int kCentre = 1, kSingleLine = 0;
    runtime::BlockWriter w;
    w.u32(1).i32(static_cast<int>(effect)).u32(colour).i32(horizontalAlign).i32(kCentre).i32(kSingleLine);
    w.bytes(font ? font->serialize() : runtime::Bytes{});
    w.text(text);
    return w.take();
}

runtime::Bytes webBrowserBlock() {
    runtime::BlockWriter w;
    w.u32(1).u32(0).u32(1).u32(0).u32(1).u32(0);
    return w.take();
}

}  // namespace app
