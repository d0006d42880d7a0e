// The fading status window that shows the current tab's status text.
#pragma once

#include <string>

#include "runtime/value.h"
#include "status_fade.h"

namespace tabs {

// The fade's state (direction, opacity, maximum), for the handlers and tests.
StatusFade& statusFade();

// A status text from tab n; only the current tab's texts reach the window.
void showStatusText(int32_t n, const std::string& text);
void StartFadeIn();
void StartFadeOut();
void SetStatusAlpha(int32_t a);
void OnFadeTick();
void OnStatusWindowCreated(runtime::ComponentRef statusWindow);

}  // namespace tabs
