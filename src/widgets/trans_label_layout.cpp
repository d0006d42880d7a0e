#include "trans_label_layout.h"

#include "trans_label_props.h"

namespace widgets {

namespace {
constexpr uint32_t kWhite = 0x00FFFFFF, kBlack = 0;
}

std::vector<TextPass> textPasses(int32_t effect, uint32_t textColour) {
    switch (clampEffect(effect)) {
        case trans_label::kWhiteShadow: return {{1, 1, kWhite}, {0, 0, textColour}};
        case trans_label::kRaised: return {{0, 0, kWhite}, {1, 1, textColour}};
        case trans_label::kBlackShadow: return {{2, 2, kBlack}, {0, 0, textColour}};
        default: return {{0, 0, textColour}};
    }
}

int alignedOffset(int32_t align, int box, int text) {
    switch (clampAlign(align)) {
        case 1: return (box - text) / 2;
        case 2: return box - text;
        default: return 0;
    }
}

TextOrigin textOrigin(int32_t horizontalAlign, int32_t verticalAlign, bool wrap, int boxWidth, int boxHeight,
    int textWidth, int textHeight) {
    // Vertical centring and bottom placement apply to one line only.
    if (wrap) return {0, 0};
    return {alignedOffset(horizontalAlign, boxWidth, textWidth), alignedOffset(verticalAlign, boxHeight, textHeight)};
}

}  // namespace widgets
