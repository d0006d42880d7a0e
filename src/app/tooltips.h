// The tooltips of the navigation and title-bar buttons, and what assistive
// technology calls the main window's buttons and boxes.
#pragma once

#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tabs/main_ui.h"

namespace app {

void attachTooltips(runtime::Runtime& runtime, const tabs::MainUi& u);

struct AccessibleText {
    runtime::ComponentRef ref;
    std::string name;
    std::string description;
};
// Buttons by their tooltip text (the go button by its action, with its tip
// as description), the boxes by what they take. A tab's close button is
// named with its tab (tabs::NameCloseButton); labels read as their text.
std::vector<AccessibleText> accessibleTexts(const tabs::MainUi& u);
void nameComponents(runtime::Runtime& runtime, const tabs::MainUi& u);

// A tip text as GTK shows it: "\r\n" breaks the line.
std::string tooltipMarkupFree(const std::string& text);

}  // namespace app
