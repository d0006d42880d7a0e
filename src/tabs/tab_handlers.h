// Event handlers of the tabbed browsing: the tab control, the close buttons,
// the browsers, the progress and fade timers and the status window.
#pragma once

#include "runtime/runtime.h"

namespace tabs {

runtime::Value onTabPageChanged(runtime::Event& e);
runtime::Value onTabHeaderRightClicked(runtime::Event& e);
runtime::Value OnCloseButtonClick(runtime::Event& e);
runtime::Value onCloseCurrentTabClick(runtime::Event& e);
runtime::Value OnProgressTimer(runtime::Event& e);
runtime::Value onFadeTimerTick(runtime::Event& e);
runtime::Value onStatusWindowCreated(runtime::Event& e);

// Bindings of the template browser's events (copied to every tab's browser).
runtime::Bindings browserEventBindings();

}  // namespace tabs
