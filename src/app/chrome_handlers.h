// Event handlers of the window chrome: title bar buttons, border panel,
// title label, and the main window's position and size changes; and the
// services the rest of the program uses (work area, maximise, title bar).
#pragma once

#include "runtime/runtime.h"

namespace app {

runtime::Value onMainPositionChanged(runtime::Event& e);
runtime::Value onMainSizeChanged(runtime::Event& e);
runtime::Value onRestoreClick(runtime::Event& e);
runtime::Value onQuitClick(runtime::Event& e);
runtime::Value onMinimiseClick(runtime::Event& e);
runtime::Value onMaximiseClick(runtime::Event& e);
runtime::Value onTitleDoubleClick(runtime::Event& e);
runtime::Value onBorderMouseMove(runtime::Event& e);
runtime::Value onBorderLeftDown(runtime::Event& e);

// The maximise/restore toggle (start-up maximises through it).
void toggleMaximised();

// The rectangle a maximised main window covers: the screen without the
// taskbar, widened by the border width.
runtime::Rect workArea();
// Whether the main window covers the work area exactly.
bool isMaximised();
// Places the title-bar buttons for the window's width, the number of tabs and
// maximised or not; the tab code calls it whenever tabs come and go.
void ArrangeTitleBarButtons();

}  // namespace app
