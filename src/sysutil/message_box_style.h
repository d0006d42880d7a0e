// What a message-box style asks for: its buttons, its icon, and how an
// answer becomes the caller's result (button code - 1).
#pragma once

#include <vector>

namespace sysutil::message_box {

// Button codes as callers know them; the result is the code minus 1.
namespace code {
constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;
}

// The button sets of the style's low four bits.
namespace style {
constexpr int kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5;
constexpr int kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
}  // namespace style

enum class Icon { kNone, kError, kQuestion, kWarning, kInformation };

struct Button {
    const char* label;
    int code;
};

// Buttons left to right. Unknown button sets show a single OK button.
std::vector<Button> buttonsFor(int style);
Icon iconFor(int style);

// The code a dismissed box (Escape, the close box) answers with: Cancel when
// the box has one, OK when OK is its only button; 0 when the box cannot be
// dismissed that way and must wait for a button.
int dismissCodeFor(int style);

}  // namespace sysutil::message_box
