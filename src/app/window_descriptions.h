// The two windows of the program as fixed descriptions.
#pragma once

#include "runtime/component.h"

namespace app {

runtime::WindowDescription mainWindowDescription();
runtime::WindowDescription statusWindowDescription();

// The product name: the title label's caption and the window caption.
inline constexpr const char* kProductName = "Varomel";

}  // namespace app
