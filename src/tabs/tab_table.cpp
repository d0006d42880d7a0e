// Stand-in until the tab table lands.
#include "tab_table.h"

namespace tabs {

std::vector<TabRecord> tabTable(1);
int32_t currentTab = 0;
int32_t busy = 0;
int32_t maxCaptionLength = 16;
int32_t layoutReady = 0;

int32_t tabCount() { return static_cast<int32_t>(tabTable.size()); }
bool isTab(int32_t n) { return n >= 1 && n <= tabCount(); }

void OpenInNewTab(const std::string&) {}
int32_t CreateTab() { return tabCount(); }
void CreateFirstTab(const std::string&) {}
void NavigateTab(const std::string&, int32_t) {}
void SelectTab(int32_t) {}
void LayOutTabBrowser(int32_t) {}
void RenumberTabs() {}
void ArrangeCloseButtons() {}
void FitCaptions() {}
std::string CaptionFromTitle(const std::string& title, int32_t) { return title; }
void RefreshSelection() {}
void UpdateLoadingButtons() {}
void UpdateBackForwardButtons() {}
bool IsShowableUrl(int32_t, const std::string&) { return false; }
void PlaceStatusWindow() {}
void CloseTab(int32_t) {}

ShellHooks& shellHooks() {
    static ShellHooks h;
    return h;
}

}  // namespace tabs
