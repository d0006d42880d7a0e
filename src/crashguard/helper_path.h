// Where the crash guard finds its message-box helper, varomel-crashbox.
#pragma once

#include <string>

namespace crashguard {

// The helper for the program at `exe_path` (what /proc/self/exe names): in
// an installed tree the program is in bin/ and the helper in
// libexec/varomel/ beside it, whatever the root the tree was unpacked to;
// in a build tree the helper sits next to the program. The installed place
// wins when a helper is there; otherwise the one next to the program.
std::string helperPathFor(const std::string& exe_path);

}  // namespace crashguard
