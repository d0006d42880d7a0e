// Stand-ins until the window chrome lands. Quit already ends the program.
#include "chrome_handlers.h"

#include "tabs/main_ui.h"

namespace app {

rt::Value onMainPositionChanged(rt::Event&) { return {}; }
rt::Value onMainSizeChanged(rt::Event&) { return {}; }
rt::Value onRestoreClick(rt::Event&) { return {}; }
rt::Value onQuitClick(rt::Event&) {
    rt::Runtime::instance().destroyWindow(ui::mainUi().window.window);
    return {};
}
rt::Value onMinimiseClick(rt::Event&) { return {}; }
rt::Value onMaximiseClick(rt::Event&) { return {}; }
rt::Value onTitleDoubleClick(rt::Event&) { return {}; }
rt::Value onBorderMouseMove(rt::Event&) { return {}; }
rt::Value onBorderLeftDown(rt::Event&) { return {}; }
void ToggleMaximised() {}

}  // namespace app
