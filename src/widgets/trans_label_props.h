// Transparent label ("TransLabel"): own property numbers (component property
// 8 + k) and the values they take. The label raises no events of its own.
#pragma once

namespace widgets::trans_label {

constexpr int kText = 0;
constexpr int kEffect = 1;
constexpr int kFont = 2;  // a 60-byte font record, or empty for the default font
constexpr int kTextColour = 3;
constexpr int kHorizontalAlign = 4;
constexpr int kWordWrap = 5;       // 1 wraps, anything else is one line
constexpr int kVerticalAlign = 6;  // one-line labels only

enum Effect { kNoEffect = 0, kWhiteShadow = 1, kRaised = 2, kBlackShadow = 3 };
enum HorizontalAlign { kLeft = 0, kCentre = 1, kRight = 2 };
enum VerticalAlign { kTop = 0, kMiddle = 1, kBottom = 2 };

}  // namespace widgets::trans_label
