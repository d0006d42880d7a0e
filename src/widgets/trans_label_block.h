// The transparent label's property block: version, effect, text colour,
// horizontal alignment, vertical alignment, word wrap, then the font record
// and the text (GBK), each as length-prefixed bytes.
#pragma once

#include <optional>
#include <string>

#include "runtime/value.h"
#include "trans_label_props.h"

namespace widgets {

struct TransLabelBlock {
    static constexpr uint32_t kVersion = 1;

    int32_t effect = trans_label::kNoEffect;
    uint32_t textColour = 0;
    int32_t horizontalAlign = trans_label::kLeft;
    int32_t verticalAlign = trans_label::kTop;
    int32_t wordWrap = 0;
    runtime::Bytes font;  // 60 bytes (runtime::LogFont::serialize()) or empty
    std::string text;     // UTF-8 here, GBK in the block

    runtime::Bytes serialize() const;
    // An empty block gives the defaults; a newer version or a truncated
    // block gives nothing (the label is not created). Effect and alignments
    // come back clamped.
    static std::optional<TransLabelBlock> parse(const runtime::Bytes& block);
};

}  // namespace widgets
