#include "../property_block.h"
#include "builtin_kinds.h"

namespace runtime {
namespace {

constexpr uint32_t kVersion = 1;

void writeFont(BlockWriter& w, const LogFont& f) { w.bytes(f.serialize()); }

// A font block of another length than 60 bytes falls back to the default.
LogFont readFont(BlockReader& r) {
    auto b = r.bytes();
    if (!b) return {};
    if (auto f = LogFont::parse(*b)) return *f;
    return LogFont::make("", 12);
}

bool versionOk(BlockReader& r) {
    auto v = r.u32();
    return v && *v <= kVersion;
}

}  // namespace

Bytes EditBoxBlock::serialize() const {
    BlockWriter w;
    w.u32(kVersion).u32(textColour).u32(background);
    writeFont(w, font);
    w.text(content);
    return w.take();
}

std::optional<EditBoxBlock> EditBoxBlock::parse(const Bytes& b) {
    EditBoxBlock out;
    if (b.empty()) return out;
    BlockReader r(b);
    if (!versionOk(r)) return std::nullopt;
    out.textColour = r.u32().value_or(0);
    out.background = r.u32().value_or(0x00FFFFFF);
    out.font = readFont(r);
    out.content = r.text().value_or("");
    if (!r.ok()) return std::nullopt;
    return out;
}

Bytes LabelBlock::serialize() const {
    BlockWriter w;
    w.u32(kVersion).u32(textColour).u32(background).i32(align);
    writeFont(w, font);
    w.text(caption).bytes(picture);
    return w.take();
}

std::optional<LabelBlock> LabelBlock::parse(const Bytes& b) {
    LabelBlock out;
    if (b.empty()) return out;
    BlockReader r(b);
    if (!versionOk(r)) return std::nullopt;
    out.textColour = r.u32().value_or(0);
    out.background = r.u32().value_or(0x00ECECEC);
    out.align = r.i32().value_or(0);
    out.font = readFont(r);
    out.caption = r.text().value_or("");
    out.picture = r.bytes().value_or(Bytes{});
    if (!r.ok()) return std::nullopt;
    return out;
}

Bytes TimerBlock::serialize() const {
    BlockWriter w;
    w.u32(kVersion).i32(interval);
    return w.take();
}

std::optional<TimerBlock> TimerBlock::parse(const Bytes& b) {
    TimerBlock out;
    if (b.empty()) return out;
    BlockReader r(b);
    if (!versionOk(r)) return std::nullopt;
    out.interval = r.i32().value_or(0);
    if (!r.ok()) return std::nullopt;
    return out;
}

Bytes DrawPanelBlock::serialize() const {
    BlockWriter w;
    w.u32(kVersion).u32(penColour).u32(background);
    return w.take();
}

std::optional<DrawPanelBlock> DrawPanelBlock::parse(const Bytes& b) {
    DrawPanelBlock out;
    if (b.empty()) return out;
    BlockReader r(b);
    if (!versionOk(r)) return std::nullopt;
    out.penColour = r.u32().value_or(0);
    out.background = r.u32().value_or(0x00ECECEC);
    if (!r.ok()) return std::nullopt;
    return out;
}

}  // namespace runtime
