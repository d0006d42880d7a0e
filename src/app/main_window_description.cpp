// The main window: a frameless 1030 x 750 window and its forty-one
// components, top-most first.
#include "artwork.h"
#include "block_builders.h"
#include "chrome_handlers.h"
#include "runtime/colour.h"
#include "runtime/kinds/builtin_kinds.h"
#include "search/search_handlers.h"
#include "startup_handlers.h"
#include "tabs/main_ui.h"
#include "tabs/tab_handlers.h"
#include "widgets/page_control.h"
#include "widgets/pic_btn_props.h"
#include "window_descriptions.h"

namespace app {
namespace {

using runtime::ComponentDescription;
using runtime::Rect;

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kPlaceholderGrey = runtime::rgb(200, 200, 200);
constexpr int kClick = widgets::pic_btn::kClick;
constexpr int kPageChanged = widgets::page_control::kPageChanged;
constexpr int kHeaderRightClicked = widgets::page_control::kHeaderRightClicked;
constexpr int kTick = runtime::timer::kTick;

ComponentDescription component(const char* kind, const char* name, const char* alias, Rect rect, runtime::Bytes block,
    runtime::Bindings bindings = {}, bool visible = true) {
    ComponentDescription c;
    c.kind = kind;
    c.name = name;
    c.alias = alias;
    c.rect = rect;
    c.block = std::move(block);
    c.bindings = std::move(bindings);
    c.visible = visible;
    return c;
}

ComponentDescription hotLabel(const char* name, const char* alias, Rect rect, const char* text) {
    auto c = component("TransLabel", name, alias, rect, transLabelBlock(text, TextEffect::kRaised, kBlack, 0, {}),
        {{runtime::event::kLeftDown, search::onHotSearchLabelDown}});
    c.cursor = runtime::cursor::kHand;
    return c;
}

ComponentDescription button(
    const char* name, const char* alias, Rect rect, runtime::Bytes block, runtime::Handler click, bool visible = true) {
    runtime::Bindings b;
    if (click) b[kClick] = std::move(click);
    return component("PicBtn", name, alias, rect, std::move(block), std::move(b), visible);
}

runtime::Bytes editBoxBlock(const char* placeholder) {
    runtime::EditBoxBlock b;
    b.textColour = kPlaceholderGrey;
    b.background = kWhite;
    b.font = runtime::LogFont::make("新宋体", 15);
    b.content = placeholder;
    return b.serialize();
}

runtime::Bytes labelBlock(const char* pictureName) {
    runtime::LabelBlock b;
    b.picture = picture(pictureName);
    return b.serialize();
}

runtime::Bytes titleLabelBlock() {
    runtime::LabelBlock b;
    b.textColour = kWhite;
    b.font = runtime::LogFont::make("宋体", 12, true);
    b.picture = picture("title_background.bmp");
    return b.serialize();
}

}  // namespace

runtime::WindowDescription mainWindowDescription() {
    runtime::WindowDescription w;
    w.name = "窗口_启动窗口";
    w.rect = {50, 50, 1030, 750};
    w.background = runtime::rgb(236, 236, 236);
    w.bindings = {{runtime::window_event::kCreated, onMainWindowCreated},
        {runtime::window_event::kPositionChanged, onMainPositionChanged},
        {runtime::window_event::kSizeChanged, onMainSizeChanged},
        {runtime::window_event::kFirstActivated, onMainWindowFirstActivated}};

    auto& c = w.components;
    c.push_back(hotLabel(tabs::name::kHotLabel12, "hotSearchLabel12", {694, 56, 32, 24}, "后天"));
    c.push_back(hotLabel(tabs::name::kHotLabel11, "hotSearchLabel11", {654, 56, 32, 24}, "昨天"));
    c.push_back(hotLabel(tabs::name::kHotLabel10, "hotSearchLabel10", {614, 56, 32, 24}, "明天"));
    c.push_back(hotLabel(tabs::name::kHotLabel9, "hotSearchLabel9", {574, 56, 32, 24}, "今天"));
    c.push_back(hotLabel(tabs::name::kHotLabel8, "hotSearchLabel8", {534, 56, 32, 24}, "中变"));
    c.push_back(hotLabel(tabs::name::kHotLabel7, "hotSearchLabel7", {494, 56, 40, 24}, "轻变"));
    c.push_back(hotLabel(tabs::name::kHotLabel6, "hotSearchLabel6", {462, 56, 40, 24}, "176"));
    c.push_back(hotLabel(tabs::name::kHotLabel5, "hotSearchLabel5", {414, 56, 48, 24}, "仿盛大"));
    c.push_back(hotLabel(tabs::name::kHotLabel4, "hotSearchLabel4", {374, 56, 40, 24}, "变态"));
    c.push_back(hotLabel(tabs::name::kHotLabel3, "hotSearchLabel3", {342, 56, 40, 24}, "185"));
    c.push_back(hotLabel(tabs::name::kHotLabel2, "hotSearchLabel2", {302, 56, 40, 24}, "极品"));
    c.push_back(hotLabel(tabs::name::kHotLabel1, "hotSearchLabel1", {262, 56, 40, 24}, "合击"));
    c.push_back(component("TransLabel", tabs::name::kHotCaption, "hotSearchCaption", {222, 56, 48, 24},
        transLabelBlock("热搜：", TextEffect::kNone, runtime::rgb(96, 96, 96), 0, {})));

    auto searchButton = button(tabs::name::kSearchButton, "searchButton", {166, 56, 48, 27},
        picBtnBlock("search", "jpg", kNoTransparentColour), search::onSearchButtonClick);
    searchButton.cursor = runtime::cursor::kHand;
    c.push_back(searchButton);
    c.push_back(component("EditBox", tabs::name::kSearchBox, "searchBox", {8, 59, 155, 20}, editBoxBlock("输入关键字"),
        {{runtime::event::kFocusGained, search::onSearchBoxFocusGained},
            {runtime::event::kFocusLost, search::onSearchBoxFocusLost},
            {runtime::event::kKeyDown, search::onSearchBoxKeyDown}}));
    c.push_back(button(tabs::name::kNewTabButton, "newTabButton", {792, 24, 14, 14},
        picBtnBlock("new_tab", "gif", kWhite), search::onNewTabButtonClick));
    c.push_back(button(tabs::name::kTemplateCloseButton, "templateCloseButton", {328, 5, 16, 16},
        picBtnBlock("close_tab", "gif", kWhite), tabs::OnCloseButtonClick, false));
    c.push_back(button(tabs::name::kRestoreButton, "restoreButton", {792, 3, 25, 17},
        picBtnBlock("restore", "gif", kBlack), onRestoreClick, false));
    c.push_back(button(
        tabs::name::kQuitButton, "quitButton", {719, 3, 42, 17}, picBtnBlock("quit", "gif", kBlack), onQuitClick));
    c.push_back(button(tabs::name::kMinimiseButton, "minimiseButton", {668, 3, 26, 17},
        picBtnBlock("minimise", "gif", kBlack), onMinimiseClick));
    c.push_back(button(tabs::name::kMaximiseButton, "maximiseButton", {694, 3, 25, 17},
        picBtnBlock("maximise", "gif", kBlack), onMaximiseClick));
    c.push_back(button(tabs::name::kCloseCurrentTabButton, "closeCurrentTabButton", {763, 3, 25, 17},
        picBtnBlock("close_current_tab", "gif", kBlack), tabs::onCloseCurrentTabClick));
    c.push_back(component("Label", tabs::name::kTitleLabel, "titleLabel", {3, 3, 661, 20}, titleLabelBlock(),
        {{runtime::event::kDoubleClick, onTitleDoubleClick}}));

    auto forwardDisabled = button(tabs::name::kForwardDisabledButton, "forwardDisabledButton", {560, 23, 27, 27},
        picBtnSingleBlock("forward_disabled.bmp", kNoTransparentColour), nullptr);
    forwardDisabled.disabled = true;
    c.push_back(forwardDisabled);
    auto backDisabled = button(tabs::name::kBackDisabledButton, "backDisabledButton", {531, 23, 27, 27},
        picBtnSingleBlock("back_disabled.bmp", kNoTransparentColour), nullptr);
    backDisabled.disabled = true;
    c.push_back(backDisabled);

    c.push_back(component("WebBrowser", tabs::name::kTemplateBrowser, "templateBrowser", {4, 83, 600, 200},
        webBrowserBlock(), tabs::browserEventBindings(), false));
    c.push_back(button(tabs::name::kStopButton, "stopButton", {747, 23, 27, 27},
        picBtnBlock("stop", "bmp", kNoTransparentColour), search::onStopButtonClick, false));
    c.push_back(component("TransLabel", tabs::name::kLoadProgressLabel, "loadProgressLabel", {462, 31, 42, 11},
        transLabelBlock("100.1%", TextEffect::kWhiteShadow, runtime::rgb(128, 128, 128), 2,
            runtime::LogFont::make("长城黑体", 13))));
    c.push_back(component("Timer", tabs::name::kProgressTimer, "progressTimer", {672, 123, 26, 26},
        runtime::TimerBlock{1}.serialize(), {{kTick, tabs::OnProgressTimer}}));
    c.push_back(component("PageControl", tabs::name::kTabControl, "tabControl", {4, 83, 664, 280},
        widgets::PageControlBlock::form().serialize(),
        {{kPageChanged, tabs::onTabPageChanged}, {kHeaderRightClicked, tabs::onTabHeaderRightClicked}}));
    c.push_back(button(tabs::name::kGoButton, "goButton", {660, 24, 48, 27},
        picBtnBlock("go", "bmp", kNoTransparentColour), search::onGoButtonClick));
    c.push_back(component("EditBox", tabs::name::kAddressBox, "addressBox", {116, 28, 155, 20},
        editBoxBlock("输入网址或关键字"),
        {{runtime::event::kFocusGained, search::onAddressBoxFocusGained},
            {runtime::event::kFocusLost, search::onAddressBoxFocusLost},
            {runtime::event::kKeyDown, search::onAddressBoxKeyDown},
            {runtime::event::kCharInput, search::onAddressBoxCharInput}}));
    c.push_back(component("Label", tabs::name::kAddressBackgroundMiddle, "addressBackgroundMiddle", {173, 55, 13, 27},
        labelBlock("address_middle.bmp")));
    c.push_back(button(tabs::name::kRefreshButton, "refreshButton", {91, 24, 27, 27},
        picBtnBlock("refresh", "bmp", kNoTransparentColour), search::onRefreshButtonClick));
    c.push_back(button(tabs::name::kHomeButton, "homeButton", {62, 24, 27, 27},
        picBtnBlock("home", "bmp", kNoTransparentColour), search::onHomeButtonClick));
    c.push_back(button(tabs::name::kForwardButton, "forwardButton", {33, 24, 27, 27},
        picBtnBlock("forward", "bmp", kNoTransparentColour), search::onForwardButtonClick));
    c.push_back(button(tabs::name::kBackButton, "backButton", {4, 24, 27, 27},
        picBtnBlock("back", "bmp", kNoTransparentColour), search::onBackButtonClick));
    c.push_back(component("Label", tabs::name::kAddressBackgroundLeft, "addressBackgroundLeft", {160, 55, 13, 27},
        labelBlock("address_left.bmp")));
    c.push_back(component("Label", tabs::name::kAddressBackgroundRight, "addressBackgroundRight", {186, 55, 13, 27},
        labelBlock("address_right.bmp")));
    c.push_back(component("Label", tabs::name::kToolbarBackground, "toolbarBackground", {4, 24, 360, 60},
        labelBlock("toolbar_background.bmp")));
    c.push_back(component("DrawPanel", tabs::name::kBorderPanel, "borderPanel", {768, 52, 104, 64},
        runtime::DrawPanelBlock{}.serialize(),
        {{runtime::event::kLeftDown, onBorderLeftDown}, {runtime::event::kMouseMove, onBorderMouseMove}}));
    return w;
}

runtime::WindowDescription statusWindowDescription() {
    runtime::WindowDescription w;
    w.name = "窗口_状态";
    w.rect = {50, 50, 495, 245};
    w.background = runtime::rgb(236, 236, 236);
    w.bindings = {{runtime::window_event::kCreated, tabs::onStatusWindowCreated}};

    runtime::LabelBlock text;
    text.textColour = runtime::rgb(105, 105, 105);
    text.background = runtime::rgb(236, 236, 236);
    text.font = runtime::LogFont::make("新宋体", 12);
    w.components.push_back(
        component("Label", tabs::name::kStatusTextLabel, "statusTextLabel", {0, 0, 471, 16}, text.serialize()));
    w.components.push_back(component("Timer", tabs::name::kFadeTimer, "fadeTimer", {224, 56, 26, 26},
        runtime::TimerBlock{0}.serialize(), {{kTick, tabs::onFadeTimerTick}}));
    return w;
}

}  // namespace app
