// The window-system side of the frameless main window: the monitor's work
// area, the window shape, and the system's interactive move and resize.
#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "runtime/component.h"

namespace app {

// The work area for the monitor the window is on, from the usable area the
// desktop reports for it (the area without panels and taskbars), widened by
// the border. Screen coordinates.
runtime::Rect monitorWorkArea(GtkWindow* window, int border);

// Calls changed (from the main loop, once for a burst of reports) whenever
// the work area may have changed: a panel appeared, went or moved, or a
// monitor was added, removed or resized; and mapped, likewise, after the
// window manager has mapped the window and settled its place. Ends with
// the window.
void watchWorkArea(GtkWindow* window, std::function<void()> changed, std::function<void()> mapped);

// Cuts the window (drawing and input alike) to the rounded shape of its
// size.
void applyRoundedShape(GtkWindow* window, int width, int height);

// Starts the system's interactive resize from a resize zone's edge, driven
// by the mouse button of the event being handled (the press on the
// border). Zones that are no edge start nothing.
void beginZoneResize(GtkWindow* window, int zone);

// Lets a drag on the title label move the window, as a system caption does.
// The move starts only once the mouse has travelled the drag threshold with
// the left button held, so that clicks and double clicks stay clicks;
// mayMove is asked at that moment. Attaching twice is harmless.
void attachCaptionDrag(GtkWidget* titleHost, GtkWindow* window, std::function<bool()> mayMove);

}  // namespace app
