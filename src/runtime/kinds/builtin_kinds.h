// The component kinds the runtime itself provides.
#pragma once

#include <string>

#include "../log_font.h"
#include "../runtime.h"

namespace runtime {

// Registers window-independent kinds: EditBox, Label, Timer, DrawPanel.
void registerBuiltinKinds(Runtime& runtime);

// A stand-in for a kind not built yet: an empty widget of the right size
// that keeps its property block for copies.
void registerPlaceholderKind(Runtime& runtime, const std::string& kind);

// Property blocks of the built-in kinds, as a window description builds them.
struct EditBoxBlock {
    uint32_t textColour = 0;
    uint32_t background = 0x00FFFFFF;
    LogFont font;
    std::string content;
    Bytes serialize() const;
    static std::optional<EditBoxBlock> parse(const Bytes& b);
};

enum class Align { kLeft = 0, kCentre = 1, kRight = 2 };

struct LabelBlock {
    uint32_t textColour = 0;
    uint32_t background = 0x00ECECEC;
    int32_t align = 0;  // Align
    LogFont font;
    std::string caption;
    Bytes picture;  // background picture, stretched over the label
    Bytes serialize() const;
    static std::optional<LabelBlock> parse(const Bytes& b);
};

struct TimerBlock {
    int32_t interval = 0;
    Bytes serialize() const;
    static std::optional<TimerBlock> parse(const Bytes& b);
};

struct DrawPanelBlock {
    uint32_t penColour = 0;
    uint32_t background = 0x00ECECEC;
    Bytes serialize() const;
    static std::optional<DrawPanelBlock> parse(const Bytes& b);
};

// Own property numbers (k; the index is 8 + k) and methods.
namespace edit_box {
constexpr int kContent = 0, kTextColour = 1, kBackground = 2, kFont = 3;
}
namespace label {
constexpr int kCaption = 0, kTextColour = 1, kBackground = 2, kFont = 3, kPicture = 4;
}
// A timer put to sleep keeps its interval but does not tick until woken;
// false when the component is not a timer.
bool setTimerAsleep(Component* component, bool asleep);
// Whether a timer will tick: running and awake.
bool timerArmed(const Component* component);

namespace timer {
constexpr int kInterval = 0;
constexpr int kTick = 0;  // event
// Intervals below this run at it, as the original platform's timers did.
constexpr int kMinimumInterval = 10;
}  // namespace timer
namespace draw_panel {
constexpr int kPenColour = 0, kBackground = 1;
constexpr int kDrawLine = 0;  // method: x1, y1, x2, y2; the end point is not drawn
constexpr int kClear = 1;     // method: fill with the background colour
}  // namespace draw_panel

}  // namespace runtime
