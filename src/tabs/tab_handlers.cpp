// Stand-ins until the tabbed browsing lands: every handler does nothing.
#include "tab_handlers.h"

namespace tabs {

rt::Value onTabPageChanged(rt::Event&) { return {}; }
rt::Value onTabHeaderRightClicked(rt::Event&) { return {}; }
rt::Value onCloseButtonClick(rt::Event&) { return {}; }
rt::Value onCloseCurrentTabClick(rt::Event&) { return {}; }
rt::Value onProgressTimerTick(rt::Event&) { return {}; }
rt::Value onFadeTimerTick(rt::Event&) { return {}; }
rt::Value onStatusWindowCreated(rt::Event&) { return {}; }
rt::Bindings browserEventBindings() { return {}; }

}  // namespace tabs
