#include "pic_btn_block.h"

#include "runtime/property_block.h"

namespace widgets {

runtime::Bytes PicBtnBlock::serialize() const {
    runtime::BlockWriter w;
    w.u32(kVersion).i32(type).u32(latched ? 1 : 0).u32(transparentColour);
    for (const runtime::Bytes& p : pictures) w.bytes(p);
    return w.take();
}

std::optional<PicBtnBlock> PicBtnBlock::parse(const runtime::Bytes& block) {
    PicBtnBlock out;
    if (block.empty()) return out;
    runtime::BlockReader r(block);
    auto version = r.u32();
    if (!version || *version > kVersion) return std::nullopt;
    auto type = r.i32();
    auto latched = r.u32();
    auto transparent = r.u32();
    if (!type || !latched || !transparent) return std::nullopt;
    out.type = clampButtonType(*type);
    out.latched = *latched != 0;
    out.transparentColour = *transparent;
    for (runtime::Bytes& p : out.pictures) {
        auto bytes = r.bytes();
        if (!bytes) return std::nullopt;
        p = std::move(*bytes);
    }
    return out;
}

}  // namespace widgets
