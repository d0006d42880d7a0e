// Event handlers of the window chrome: title bar buttons, border panel,
// title label, and the main window's position and size changes.
#pragma once

#include "runtime/runtime.h"

namespace app {

rt::Value onMainPositionChanged(rt::Event& e);
rt::Value onMainSizeChanged(rt::Event& e);
rt::Value onRestoreClick(rt::Event& e);
rt::Value onQuitClick(rt::Event& e);
rt::Value onMinimiseClick(rt::Event& e);
rt::Value onMaximiseClick(rt::Event& e);
rt::Value onTitleDoubleClick(rt::Event& e);
rt::Value onBorderMouseMove(rt::Event& e);
rt::Value onBorderLeftDown(rt::Event& e);

// The maximise/restore toggle (start-up maximises through it).
void ToggleMaximised();

}  // namespace app
