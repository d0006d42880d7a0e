// The visible top-level windows of the display, and which of them belong to
// a given process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sysutil {

struct WindowEntry {
    unsigned long handle = 0;  // the X window id of the client window
    uint32_t processId = 0;    // from _NET_WM_PID; 0 when the window does not say
    uint32_t threadId = 0;     // X does not tell; always 0
    std::string title;         // at most kMaxTextBytes GBK bytes
    std::string className;     // the class part of WM_CLASS, same limit
};

// Titles and class names are cut to what a 256-byte buffer holds.
inline constexpr size_t kMaxTextBytes = 255;

// Rebuilds the process-wide window list from the display, top-most window
// first, and returns it. Without an X display the list is empty.
const std::vector<WindowEntry>& enumerateWindows();

// The first window of a fresh enumeration that belongs to the process, or 0.
unsigned long windowOfProcess(uint32_t processId);

// The first entry of the list that belongs to the process, or 0.
unsigned long firstWindowOf(const std::vector<WindowEntry>& list, uint32_t processId);

}  // namespace sysutil
