#include "crashguard/settings.h"

#include <cstring>

namespace crashguard {

Settings applyOptions(const Settings& current, Options& options) {
    Settings s = current;
    s.crash_callback = options.crash_callback;
    s.show_message_box = options.show_message_box.value_or(1);
    s.exit_mode = options.exit_mode.value_or(0);
    s.hook_runtime_errors = options.hook_runtime_errors.value_or(1);
    s.pass_on_throw = options.pass_on_throw.value_or(1);
    s.include_call_stack = options.include_call_stack.value_or(1);
    s.skip_leading_system_frames = options.skip_leading_system_frames.value_or(1);
    if (options.search_distance && *options.search_distance > 0) s.search_distance = *options.search_distance;
    if (options.owner_window_class.empty()) {
        options.owner_window_class = current.owner_window_class;
    } else {
        // A class name longer than the record holds is cut, never overrun.
        std::strncpy(s.owner_window_class, options.owner_window_class.c_str(), kOwnerClassCapacity - 1);
        s.owner_window_class[kOwnerClassCapacity - 1] = '\0';
    }
    return s;
}

}  // namespace crashguard
