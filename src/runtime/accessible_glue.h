// Accessible objects for the kinds that draw themselves. GTK gives a plain
// drawing area a nameless panel with no action; an area made here instead
// asks its component (Component::accessibleFacts and friends) for role,
// name, description, the action "click" and its items, and GTK's bridge
// carries that to AT-SPI.
#pragma once

#include <gtk/gtk.h>

namespace runtime {

// A drawing area whose accessible object speaks for its component.
GtkWidget* accessibleAreaNew();
// The same for a component with items (a tab control): its accessible
// object also offers the selection of one item.
GtkWidget* accessibleItemListAreaNew();

// Whether `widget` came from one of the two functions above.
bool isAccessibleArea(GtkWidget* widget);

// Tells the accessible object of `area` (when assistive technology made
// one; otherwise nothing happens) that the component's facts or items may
// have changed. The changes go out as ATK notifications once the loop is
// idle, so a component may call this in the middle of its own updates.
void accessibleChanged(GtkWidget* area);

}  // namespace runtime
