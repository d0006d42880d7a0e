#include "message_box_style.h"

namespace sysutil::message_box {

std::vector<Button> buttonsFor(int s) {
    const Button ok{"确定", code::kOk}, cancel{"取消", code::kCancel}, abort{"中止", code::kAbort},
        retry{"重试", code::kRetry}, ignore{"忽略", code::kIgnore}, yes{"是", code::kYes}, no{"否", code::kNo};
    switch (s & 0x0F) {
        case style::kOkCancel: return {ok, cancel};
        case style::kAbortRetryIgnore: return {abort, retry, ignore};
        case style::kYesNoCancel: return {yes, no, cancel};
        case style::kYesNo: return {yes, no};
        case style::kRetryCancel: return {retry, cancel};
        default: return {ok};
    }
}

Icon iconFor(int s) {
    switch (s & 0xF0) {
        case style::kIconError: return Icon::kError;
        case style::kIconQuestion: return Icon::kQuestion;
        case style::kIconWarning: return Icon::kWarning;
        case style::kIconInformation: return Icon::kInformation;
        default: return Icon::kNone;
    }
}

int dismissCodeFor(int s) {
    auto buttons = buttonsFor(s);
    for (const Button& b : buttons)
        if (b.code == code::kCancel) return code::kCancel;
    if (buttons.size() == 1) return buttons.front().code;
    return 0;
}

}  // namespace sysutil::message_box
