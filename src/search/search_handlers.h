// Event handlers of the search box, the hot-search labels, the new-tab
// button, the address box and the navigation buttons.
#pragma once

#include "runtime/runtime.h"

namespace search {

rt::Value onSearchBoxFocusGained(rt::Event& e);
rt::Value onSearchBoxFocusLost(rt::Event& e);
rt::Value onSearchBoxKeyDown(rt::Event& e);
rt::Value onSearchButtonClick(rt::Event& e);
rt::Value onHotSearchLabelDown(rt::Event& e);
rt::Value onNewTabButtonClick(rt::Event& e);

rt::Value onAddressBoxFocusGained(rt::Event& e);
rt::Value onAddressBoxFocusLost(rt::Event& e);
rt::Value onAddressBoxKeyDown(rt::Event& e);
rt::Value onAddressBoxCharInput(rt::Event& e);
rt::Value onGoButtonClick(rt::Event& e);
rt::Value onBackButtonClick(rt::Event& e);
rt::Value onForwardButtonClick(rt::Event& e);
rt::Value onRefreshButtonClick(rt::Event& e);
rt::Value onStopButtonClick(rt::Event& e);
rt::Value onHomeButtonClick(rt::Event& e);

}  // namespace search
