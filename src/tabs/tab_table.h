// The tab table: which browser, close button and tab-control page make up
// each open tab, and the operations that create, navigate, select and lay
// out tabs. Tab numbers are 1-based; tab n is tab-control page n - 1.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace tabs {

struct TabRecord {
    uint32_t browserWindow = 0;
    uint32_t browserComponent = 0;
    int32_t loading = 0;
    int32_t forwardEnabled = 0;
    int32_t backEnabled = 0;
    uint32_t closeButtonWindow = 0;
    uint32_t closeButtonComponent = 0;

    runtime::ComponentRef browser() const { return {browserWindow, browserComponent}; }
    runtime::ComponentRef closeButton() const { return {closeButtonWindow, closeButtonComponent}; }
};

// Module state. tabTable[0] is tab 1.
extern std::vector<TabRecord> tabTable;
extern int32_t currentTab;
extern int32_t busy;
extern int32_t maxCaptionLength;
extern int32_t layoutReady;

int32_t tabCount();
// Whether 1 <= n <= count.
bool isTab(int32_t n);

void OpenInNewTab(const std::string& url);
int32_t CreateTab();
void CreateFirstTab(const std::string& url);
void NavigateTab(const std::string& url, int32_t n);
void SelectTab(int32_t n);
void LayOutTabBrowser(int32_t n);
void RenumberTabs();
void ArrangeCloseButtons();
void FitCaptions();
// FitCaptions backwards, after tabs close: captions grow back from each
// page's whole title (its tooltip) while the headers leave room for one
// more, up to 16 bytes; with one tab left straight back to 16.
void regrowCaptions();
std::string CaptionFromTitle(const std::string& title, int32_t page);
void RefreshSelection();
void UpdateLoadingButtons();
void UpdateBackForwardButtons();
bool IsShowableUrl(int32_t n, const std::string& url);

// Keeps the status window along the bottom edge of the browser area.
void PlaceStatusWindow();

// Tab closing. CloseTabAt and CloseTab take page indices (tab p + 1).
//   tabs [1 2* 3], CloseTab(1) -> [1 2*], the former tab 3 is tab 2 with
//   browser tag "2" and close button tag "1".
void CloseTabAt(int32_t page);
void CloseTab(int32_t page);
// Stops tab n's browser, hides it and destroys it.
void DestroyTabBrowser(int32_t n);

// After the number of tabs changed: shows the close-current-tab button only
// while more than one tab is open, then lets the shell arrange the title bar
// (the shell's ArrangeTitleBarButtons, through shellHooks()).
void tabCountChanged();

// The window shell's services the tab code calls; the shell sets them at
// start-up (the tab code sits below the shell and cannot call it directly).
struct ShellHooks {
    std::function<void()> arrangeTitleBarButtons;
};
ShellHooks& shellHooks();

}  // namespace tabs
