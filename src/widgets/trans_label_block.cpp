#include "trans_label_block.h"

#include "runtime/property_block.h"
#include "trans_label_layout.h"

namespace widgets {

runtime::Bytes TransLabelBlock::serialize() const {
    runtime::BlockWriter w;
    w.u32(kVersion).i32(effect).u32(textColour).i32(horizontalAlign).i32(verticalAlign).i32(wordWrap);
    w.bytes(font).text(text);
    return w.take();
}

std::optional<TransLabelBlock> TransLabelBlock::parse(const runtime::Bytes& block) {
    TransLabelBlock out;
    if (block.empty()) return out;
    runtime::BlockReader r(block);
    auto version = r.u32();
    if (!version || *version > kVersion) return std::nullopt;
    auto effect = r.i32();
    auto colour = r.u32();
    auto hAlign = r.i32();
    auto vAlign = r.i32();
    auto wrap = r.i32();
    auto font = r.bytes();
    auto text = r.text();
    if (!r.ok()) return std::nullopt;
    out.effect = clampEffect(*effect);
    out.textColour = *colour;
    out.horizontalAlign = clampAlign(*hAlign);
    out.verticalAlign = clampAlign(*vAlign);
    out.wordWrap = *wrap;
    out.font = std::move(*font);
    out.text = std::move(*text);
    return out;
}

}  // namespace widgets
