// The guard's settings record and how a configure call fills it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace crashguard {

// Called with no arguments once a crash report is ready, before the message
// box. It runs inside the signal handler, so it must be async-signal-safe.
using CrashCallback = void (*)();

constexpr size_t kOwnerClassCapacity = 256;

struct Settings {
    int32_t show_message_box = 0;
    CrashCallback crash_callback = nullptr;
    int32_t exit_mode = 0;
    char owner_window_class[kOwnerClassCapacity] = "Afx:10000000:b:10011:1900015:0";
    int32_t pass_on_throw = 0;
    int32_t skip_leading_system_frames = 0;
    int32_t include_call_stack = 0;
    int32_t search_distance = 4096;
    int32_t hook_runtime_errors = 0;
};

// The arguments of configure; an empty optional stands for an omitted one.
struct Options {
    CrashCallback crash_callback = nullptr;
    std::optional<int32_t> show_message_box;
    std::optional<int32_t> exit_mode;
    std::optional<int32_t> hook_runtime_errors;
    // In/out: an empty text keeps the current class and is replaced by it.
    std::string owner_window_class;
    std::optional<int32_t> pass_on_throw;
    std::optional<int32_t> include_call_stack;
    std::optional<int32_t> skip_leading_system_frames;
    std::optional<int32_t> search_distance;
};

// Normal context. Returns the settings a configure call with `options` makes
// from `current`, and fills in the owner class of `options` when it was empty.
Settings applyOptions(const Settings& current, Options& options);

}  // namespace crashguard
