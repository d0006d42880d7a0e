// Stand-ins until search and navigation land: every handler does nothing.
#include "search_handlers.h"

namespace search {

rt::Value onSearchBoxFocusGained(rt::Event&) { return {}; }
rt::Value onSearchBoxFocusLost(rt::Event&) { return {}; }
rt::Value onSearchBoxKeyDown(rt::Event&) { return {}; }
rt::Value onSearchButtonClick(rt::Event&) { return {}; }
rt::Value onHotSearchLabelDown(rt::Event&) { return {}; }
rt::Value onNewTabButtonClick(rt::Event&) { return {}; }
rt::Value onAddressBoxFocusGained(rt::Event&) { return {}; }
rt::Value onAddressBoxFocusLost(rt::Event&) { return {}; }
rt::Value onAddressBoxKeyDown(rt::Event&) { return {}; }
rt::Value onAddressBoxCharInput(rt::Event&) { return {}; }
rt::Value onGoButtonClick(rt::Event&) { return {}; }
rt::Value onBackButtonClick(rt::Event&) { return {}; }
rt::Value onForwardButtonClick(rt::Event&) { return {}; }
rt::Value onRefreshButtonClick(rt::Event&) { return {}; }
rt::Value onStopButtonClick(rt::Event&) { return {}; }
rt::Value onHomeButtonClick(rt::Event&) { return {}; }

}  // namespace search
