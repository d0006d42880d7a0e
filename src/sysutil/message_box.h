// A modal message box owned by this process's first visible top-level
// window.
#pragma once

#include <string>
#include <string_view>

#include "message_box_style.h"

namespace sysutil {

inline constexpr const char* kDefaultMessageBoxCaption = "友情提醒";
// The result when no box could be shown (no display) or the box was
// destroyed without an answer.
inline constexpr int kNoAnswer = -1;

// Shows the box and waits for an answer; returns the button code minus 1
// (OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6). The owner is
// the first visible top-level window of this process, if any; the box is
// modal to it. An explicitly empty caption stays empty.
int ownedMessageBox(
    std::string_view text, int style = message_box::style::kOk, std::string_view caption = kDefaultMessageBoxCaption);

}  // namespace sysutil
