// The components of the two windows as the program logic reaches them: their
// component names (the identifiers of the window descriptions) and, once the
// windows are loaded, their references.
#pragma once

#include "runtime/runtime.h"

namespace tabs {

// Component names of the main window.
namespace name {
inline constexpr const char* kHotLabel12 = "透明标签13";
inline constexpr const char* kHotLabel11 = "透明标签12";
inline constexpr const char* kHotLabel10 = "透明标签11";
inline constexpr const char* kHotLabel9 = "透明标签10";
inline constexpr const char* kHotLabel8 = "透明标签9";
inline constexpr const char* kHotLabel7 = "透明标签8";
inline constexpr const char* kHotLabel6 = "透明标签7";
inline constexpr const char* kHotLabel5 = "透明标签6";
inline constexpr const char* kHotLabel4 = "透明标签5";
inline constexpr const char* kHotLabel3 = "透明标签4";
inline constexpr const char* kHotLabel2 = "透明标签3";
inline constexpr const char* kHotLabel1 = "透明标签2";
inline constexpr const char* kHotCaption = "透明标签1";
inline constexpr const char* kSearchButton = "图形按钮_转到1";
inline constexpr const char* kSearchBox = "搜索编辑框";
inline constexpr const char* kNewTabButton = "图形按钮_新建标签";
inline constexpr const char* kTemplateCloseButton = "关闭标签按钮";
inline constexpr const char* kRestoreButton = "图形按钮_还原";
inline constexpr const char* kQuitButton = "图形按钮_退出程序";
inline constexpr const char* kMinimiseButton = "图形按钮_最小化";
inline constexpr const char* kMaximiseButton = "图形按钮_最大化";
inline constexpr const char* kCloseCurrentTabButton = "图形按钮_关闭标签";
inline constexpr const char* kTitleLabel = "标题标签";
inline constexpr const char* kForwardDisabledButton = "图形按钮_前进禁止";
inline constexpr const char* kBackDisabledButton = "图形按钮_后退禁止";
inline constexpr const char* kTemplateBrowser = "互联网浏览器1";
inline constexpr const char* kStopButton = "图形按钮_停止载入";
inline constexpr const char* kLoadProgressLabel = "透明标签_载入进度";
inline constexpr const char* kProgressTimer = "时钟1";
inline constexpr const char* kTabControl = "高级选择夹_网页";
inline constexpr const char* kGoButton = "图形按钮_转到";
inline constexpr const char* kAddressBox = "地址编辑框";
inline constexpr const char* kAddressBackgroundMiddle = "标签_地址背景2";
inline constexpr const char* kRefreshButton = "图形按钮_刷新";
inline constexpr const char* kHomeButton = "图形按钮_主页";
inline constexpr const char* kForwardButton = "图形按钮_前进";
inline constexpr const char* kBackButton = "图形按钮_后退";
inline constexpr const char* kAddressBackgroundLeft = "标签_地址背景1";
inline constexpr const char* kAddressBackgroundRight = "标签_地址背景3";
inline constexpr const char* kToolbarBackground = "标签_工具栏背景";
inline constexpr const char* kBorderPanel = "画板_边框";

// Status window.
inline constexpr const char* kStatusTextLabel = "标签_状态文本";
inline constexpr const char* kFadeTimer = "时钟_渐隐显示";
}  // namespace name

// References of the loaded windows' components.
struct MainUi {
    runtime::ComponentRef window;
    runtime::ComponentRef hotLabels[12];  // hot-search labels 1 to 12, left to right
    runtime::ComponentRef hotCaption, searchButton, searchBox, newTabButton, templateCloseButton;
    runtime::ComponentRef restoreButton, quitButton, minimiseButton, maximiseButton, closeCurrentTabButton;
    runtime::ComponentRef titleLabel, forwardDisabledButton, backDisabledButton, templateBrowser, stopButton;
    runtime::ComponentRef loadProgressLabel, progressTimer, tabControl, goButton, addressBox;
    runtime::ComponentRef addressBackgroundLeft, addressBackgroundMiddle, addressBackgroundRight, toolbarBackground;
    runtime::ComponentRef refreshButton, homeButton, forwardButton, backButton, borderPanel;

    runtime::ComponentRef statusWindow, statusTextLabel, fadeTimer;
};

MainUi& mainUi();

// Fills the main window's references by name; components the runtime left
// out stay null references.
void bindMainWindow(runtime::Runtime& runtime, runtime::ComponentRef window);
void bindStatusWindow(runtime::Runtime& runtime, runtime::ComponentRef window);

}  // namespace tabs
