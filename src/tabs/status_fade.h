// The status window's fade as a plain state machine: fading in steps the
// opacity 0, 20 ... 200, fading out 200, 180 ... 0 and then hides the window.
// The glue in status_window.cpp shows, hides and sets the opacity, and runs
// the fade timer while running() is true.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tabs {

class StatusFade {
public:
    static constexpr int32_t kStep = 20;

    // What one timer tick asks of the glue.
    enum class Tick {
        kOpacityChanged,  // apply opacity()
        kStopped,         // stop the timer
        kHideAndStop,     // hide the window and stop the timer
    };

    // Fading in starts from opacity 0; the window is shown.
    void startIn();
    void startOut();
    Tick tick();
    // The opacity set directly (the status window's creation sets 200).
    void setOpacity(int32_t a) { opacity_ = a; }
    void setMaxOpacity(int32_t a) { maxOpacity_ = a; }
    void stop() { running_ = false; }

    // A status text that came while a fade ran is not shown during it; the
    // latest one is kept and handed back once when the fade ends. The web
    // view reports a text only when it changes, so a dropped one (the empty
    // text of leaving a link) would otherwise never come again and the
    // window would stay up on an address no longer hovered.
    void holdText(int32_t tab, std::string text) { held_ = HeldText{tab, std::move(text)}; }
    struct HeldText {
        int32_t tab = 0;
        std::string text;
    };
    std::optional<HeldText> takeHeldText() { return std::exchange(held_, std::nullopt); }

    int32_t opacity() const { return opacity_; }
    int32_t maxOpacity() const { return maxOpacity_; }
    int32_t direction() const { return direction_; }
    bool running() const { return running_; }

private:
    int32_t direction_ = 0;  // 1 fading in, 0 fading out
    int32_t opacity_ = 0;
    int32_t maxOpacity_ = 0;
    bool running_ = false;
    std::optional<HeldText> held_;
};

// What a status text does to the status window.
enum class StatusTextAction {
    kIgnore,            // no status window, or a fade is running
    kRefreshSelection,  // a background tab's text: only the selection is refreshed
    kFadeOut,           // the page is done and the window shows
    kNothing,           // the page is done and the window is hidden already
    kShowText,          // set the text; fade in when the window is hidden
};
StatusTextAction statusTextAction(
    bool windowLoaded, bool fadeRunning, bool fromCurrentTab, std::string_view text, bool windowVisible);

// A status text that means the page has finished: "Done", "完毕" or empty.
bool isDoneStatus(std::string_view text);

// Window opacity as a fraction; values outside 0..255 count as 255.
double opacityFraction(int32_t alpha);

}  // namespace tabs
