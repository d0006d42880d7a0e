// The tooltips of the navigation and title-bar buttons.
#pragma once

#include "runtime/runtime.h"
#include "tabs/main_ui.h"

namespace app {

void attachTooltips(rt::Runtime& runtime, const ui::MainUi& u);

// A tip text as GTK shows it: "\r\n" breaks the line.
std::string tooltipMarkupFree(const std::string& text);

}  // namespace app
