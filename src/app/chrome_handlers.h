// Event handlers of the window chrome: title bar buttons, border panel,
// title label, and the main window's position and size changes; and the
// services the rest of the program uses (work area, maximise, title bar).
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

// The rectangle a maximised main window covers: the screen without the
// taskbar, widened by the border width.
rt::Rect WorkArea();
// Whether the main window covers the work area exactly.
bool IsMaximised();
// Places the title-bar buttons for the window's width, the number of tabs and
// maximised or not; the tab code calls it whenever tabs come and go.
void ArrangeTitleBarButtons();

}  // namespace app
