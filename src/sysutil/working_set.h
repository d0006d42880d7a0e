// Gives memory the program no longer uses back to the system.
#pragma once

namespace sysutil {

// Returns freed heap pages to the system (the program's periodic trim).
void trimWorkingSet();

}  // namespace sysutil
