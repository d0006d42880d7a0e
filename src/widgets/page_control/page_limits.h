// Bounds that keep a bad property block or property write from asking the
// tab control for absurd sizes.
#pragma once

#include <algorithm>
#include <cstdint>

namespace widgets::page_control {

constexpr uint32_t kMaxPages = 4096;
constexpr int32_t kMaxHeaderHeight = 512;
constexpr int32_t kMaxImageSide = 1024;

constexpr int32_t clampHeaderHeight(int32_t h) { return std::clamp<int32_t>(h, 0, kMaxHeaderHeight); }

}  // namespace widgets::page_control
