// The tab table: which browser, close button and tab-control page make up
// each open tab.
#pragma once

#include <string>

namespace tabs {

// Sets the title, builds tab 1 and navigates it to the URL (the listing
// site's home page when empty).
void CreateFirstTab(const std::string& url);
// Places every tab's close button and the new-tab button on the headers.
void ArrangeCloseButtons();

// Set by the main window's first activation; placing close buttons waits
// for it.
extern int layoutReady;
extern int maxCaptionLength;
extern int currentTab;

}  // namespace tabs
