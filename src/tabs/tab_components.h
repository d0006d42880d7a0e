// Small helpers over the component runtime for the tab code: the tab
// control's methods, browser texts, visibility and geometry by reference.
// Components that do not exist (a template refused by its kind, a record not
// filled yet) read as empty and ignore writes, so a half-built window does
// not end the program from inside a layout pass.
#pragma once

#include <optional>
#include <string>

#include "runtime/lenient.h"
#include "runtime/runtime.h"
#include "tab_rules.h"

namespace tabs::components {

runtime::Runtime& runtime();

Area area(runtime::ComponentRef ref);
void moveTo(runtime::ComponentRef ref, Point p);
void redraw(runtime::ComponentRef ref);

// The tab control (tabs::mainUi().tabControl).
int32_t pageCount();
int32_t currentPage();
void setCurrentPage(int32_t page);
int32_t addPage(const std::string& caption);
bool removePage(int32_t page);
std::string pageCaption(int32_t page);
// Also renames the page's close button for assistive technology.
void setPageCaption(int32_t page, const std::string& caption);
// Names the close button of the tab on `page` after the page's caption.
void nameCloseButton(int32_t page);
void setPageTip(int32_t page, const std::string& tip);
// The page's tooltip (the tab's whole title), read from the page list.
std::string pageTip(int32_t page);
std::optional<Area> headerRect(int32_t page);
int32_t headerPosition();
int32_t headerHeight();
int32_t pageAreaWidth();
int32_t pageAreaHeight();
// The page area inside the frame, relative to the control.
Area pageArea();

// Browsers.
std::string locationUrl(runtime::ComponentRef browser);
// The address the shown page was asked for, before redirects.
std::string requestedUrl(runtime::ComponentRef browser);
std::string locationName(runtime::ComponentRef browser);
void navigate(runtime::ComponentRef browser, const std::string& url);

// Texts of the main window's labels and boxes.
void setWindowCaption(const std::string& caption);
std::string titleLabelText();
void setAddressText(const std::string& url);

}  // namespace tabs::components
