#include "main_ui.h"

namespace tabs {

MainUi& mainUi() {
    static MainUi ui;
    return ui;
}

namespace {

runtime::ComponentRef lookUp(runtime::Runtime& runtime, runtime::ComponentRef window, const char* name) {
    return runtime.find(window.window, name).value_or(runtime::ComponentRef{});
}

}  // namespace

void bindMainWindow(runtime::Runtime& runtime, runtime::ComponentRef window) {
    MainUi& u = mainUi();
    auto at = [&](const char* n) { return lookUp(runtime, window, n); };
    u.window = window;
    const char* hot[12] = {name::kHotLabel1, name::kHotLabel2, name::kHotLabel3, name::kHotLabel4, name::kHotLabel5,
        name::kHotLabel6, name::kHotLabel7, name::kHotLabel8, name::kHotLabel9, name::kHotLabel10, name::kHotLabel11,
        name::kHotLabel12};
    for (int i = 0; i < 12; ++i) u.hotLabels[i] = at(hot[i]);
    u.hotCaption = at(name::kHotCaption);
    u.searchButton = at(name::kSearchButton);
    u.searchBox = at(name::kSearchBox);
    u.newTabButton = at(name::kNewTabButton);
    u.templateCloseButton = at(name::kTemplateCloseButton);
    u.restoreButton = at(name::kRestoreButton);
    u.quitButton = at(name::kQuitButton);
    u.minimiseButton = at(name::kMinimiseButton);
    u.maximiseButton = at(name::kMaximiseButton);
    u.closeCurrentTabButton = at(name::kCloseCurrentTabButton);
    u.titleLabel = at(name::kTitleLabel);
    u.forwardDisabledButton = at(name::kForwardDisabledButton);
    u.backDisabledButton = at(name::kBackDisabledButton);
    u.templateBrowser = at(name::kTemplateBrowser);
    u.stopButton = at(name::kStopButton);
    u.loadProgressLabel = at(name::kLoadProgressLabel);
    u.progressTimer = at(name::kProgressTimer);
    u.tabControl = at(name::kTabControl);
    u.goButton = at(name::kGoButton);
    u.addressBox = at(name::kAddressBox);
    u.addressBackgroundLeft = at(name::kAddressBackgroundLeft);
    u.addressBackgroundMiddle = at(name::kAddressBackgroundMiddle);
    u.addressBackgroundRight = at(name::kAddressBackgroundRight);
    u.toolbarBackground = at(name::kToolbarBackground);
    u.refreshButton = at(name::kRefreshButton);
    u.homeButton = at(name::kHomeButton);
    u.forwardButton = at(name::kForwardButton);
    u.backButton = at(name::kBackButton);
    u.borderPanel = at(name::kBorderPanel);
}

void bindStatusWindow(runtime::Runtime& runtime, runtime::ComponentRef window) {
    MainUi& u = mainUi();
    u.statusWindow = window;
    u.statusTextLabel = lookUp(runtime, window, name::kStatusTextLabel);
    u.fadeTimer = lookUp(runtime, window, name::kFadeTimer);
}

}  // namespace tabs
