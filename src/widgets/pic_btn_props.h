// Graphic button ("PicBtn"): own property numbers (component property 8 + k),
// its event and the values its properties take.
#pragma once

#include <cstdint>

namespace widgets::pic_btn {

constexpr int kType = 0;     // 0 push button, 1 toggle button
constexpr int kLatched = 1;  // toggle buttons: held down
constexpr int kNormalPicture = 2;
constexpr int kHoverPicture = 3;
constexpr int kPressedPicture = 4;
constexpr int kDisabledPicture = 5;
constexpr int kTransparentColour = 6;

constexpr int kClick = 0;  // event, no arguments

constexpr int kPushButton = 0, kToggleButton = 1;
constexpr uint32_t kNoTransparentColour = 0xFF000000;

// The four pictures in property order.
enum PictureSlot { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
constexpr int kPictureCount = 4;

}  // namespace widgets::pic_btn
