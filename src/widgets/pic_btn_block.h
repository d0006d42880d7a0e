// The graphic button's property block: version, button type, latched flag,
// transparent colour, then the normal, hover, pressed and disabled pictures
// as length-prefixed bytes.
#pragma once

#include <array>
#include <optional>

#include "pic_btn_props.h"
#include "runtime/value.h"

namespace widgets {

struct PicBtnBlock {
    static constexpr uint32_t kVersion = 1;

    int32_t type = pic_btn::kPushButton;
    bool latched = false;
    uint32_t transparentColour = pic_btn::kNoTransparentColour;
    std::array<runtime::Bytes, pic_btn::kPictureCount> pictures;  // indexed by pic_btn::PictureSlot

    runtime::Bytes serialize() const;
    // An empty block gives the defaults; a newer version or a truncated
    // block gives nothing (the button is not created).
    static std::optional<PicBtnBlock> parse(const runtime::Bytes& block);
};

// Written button types above 1 count as 1, below 0 as 0.
constexpr int32_t clampButtonType(int32_t t) { return t < 0 ? 0 : t > 1 ? 1 : t; }

}  // namespace widgets
