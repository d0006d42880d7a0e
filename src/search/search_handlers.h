// Event handlers of the search box, the hot-search labels, the new-tab
// button, the address box and the navigation buttons.
#pragma once

#include "runtime/runtime.h"

namespace search {

runtime::Value onSearchBoxFocusGained(runtime::Event& e);
runtime::Value onSearchBoxFocusLost(runtime::Event& e);
runtime::Value onSearchBoxKeyDown(runtime::Event& e);
runtime::Value onSearchButtonClick(runtime::Event& e);
runtime::Value onHotSearchLabelDown(runtime::Event& e);
runtime::Value onNewTabButtonClick(runtime::Event& e);

runtime::Value onAddressBoxFocusGained(runtime::Event& e);
runtime::Value onAddressBoxFocusLost(runtime::Event& e);
runtime::Value onAddressBoxKeyDown(runtime::Event& e);
runtime::Value onAddressBoxCharInput(runtime::Event& e);
runtime::Value onGoButtonClick(runtime::Event& e);
runtime::Value onBackButtonClick(runtime::Event& e);
runtime::Value onForwardButtonClick(runtime::Event& e);
runtime::Value onRefreshButtonClick(runtime::Event& e);
runtime::Value onStopButtonClick(runtime::Event& e);
runtime::Value onHomeButtonClick(runtime::Event& e);

}  // namespace search
