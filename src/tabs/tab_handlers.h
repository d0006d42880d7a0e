// Event handlers of the tabbed browsing: the tab control, the close buttons,
// the browsers, the progress and fade timers and the status window.
#pragma once

#include "runtime/runtime.h"

namespace tabs {

rt::Value onTabPageChanged(rt::Event& e);
rt::Value onTabHeaderRightClicked(rt::Event& e);
rt::Value onCloseButtonClick(rt::Event& e);
rt::Value onCloseCurrentTabClick(rt::Event& e);
rt::Value onProgressTimerTick(rt::Event& e);
rt::Value onFadeTimerTick(rt::Event& e);
rt::Value onStatusWindowCreated(rt::Event& e);

// Bindings of the template browser's events (copied to every tab's browser).
rt::Bindings browserEventBindings();

}  // namespace tabs
