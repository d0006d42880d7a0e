#include "gui_support.h"

#include <cstdlib>

#include "program/program_state.h"
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/property_block.h"
#include "tabs/main_ui.h"
#include "tabs/status_window.h"
#include "tabs/tab_components.h"
#include "tabs/tab_handlers.h"
#include "tabs/tab_table.h"
#include "widgets/page_control.h"
#include "widgets/pic_btn_block.h"
#include "widgets/trans_label_block.h"
#include "widgets/web_browser.h"
#include "widgets/web_browser_component.h"
#include "widgets/widget_kinds.h"

namespace tabs_test {

namespace {

// No accessibility bus.
const bool kEnvironment = [] {
    setenv("NO_AT_BRIDGE", "1", 0);
    return true;
}();

runtime::ComponentDescription component(const char* kind, const char* name, runtime::Rect rect, runtime::Bytes block,
    runtime::Bindings bindings = {}, bool visible = true) {
    runtime::ComponentDescription c;
    c.kind = kind;
    c.name = name;
    c.rect = rect;
    c.block = std::move(block);
    c.bindings = std::move(bindings);
    c.visible = visible;
    return c;
}

runtime::ComponentDescription button(
    const char* name, runtime::Rect rect, runtime::Handler click = nullptr, bool visible = true) {
    runtime::Bindings b;
    if (click) b[0] = std::move(click);
    return component("PicBtn", name, rect, widgets::PicBtnBlock{}.serialize(), std::move(b), visible);
}

runtime::Bytes browserBlock() {
    runtime::BlockWriter w;
    w.u32(1).i32(0).u32(1).u32(0).u32(1).u32(0);
    return w.take();
}

}  // namespace

runtime::WindowDescription testMainWindow(std::function<runtime::Value(runtime::Event&)> created) {
    runtime::WindowDescription w;
    w.name = "窗口_启动窗口";
    w.rect = {0, 0, 1030, 750};
    w.bindings = {{runtime::window_event::kCreated, std::move(created)}};
    auto& c = w.components;
    c.push_back(button(tabs::name::kNewTabButton, {792, 24, 14, 14}));
    c.push_back(button(tabs::name::kTemplateCloseButton, {328, 5, 16, 16}, tabs::OnCloseButtonClick, false));
    c.push_back(button(tabs::name::kCloseCurrentTabButton, {763, 3, 25, 17}, tabs::onCloseCurrentTabClick));
    c.push_back(component("Label", tabs::name::kTitleLabel, {3, 3, 661, 20}, runtime::LabelBlock{}.serialize()));
    c.push_back(button(tabs::name::kForwardDisabledButton, {560, 23, 27, 27}));
    c.push_back(button(tabs::name::kBackDisabledButton, {531, 23, 27, 27}));
    c.push_back(component("WebBrowser", tabs::name::kTemplateBrowser, {4, 83, 600, 200}, browserBlock(),
        tabs::browserEventBindings(), false));
    c.push_back(button(tabs::name::kStopButton, {747, 23, 27, 27}, nullptr, false));
    widgets::TransLabelBlock progress;
    progress.text = "100.1%";
    c.push_back(component("TransLabel", tabs::name::kLoadProgressLabel, {462, 31, 42, 11}, progress.serialize()));
    c.push_back(component("Timer", tabs::name::kProgressTimer, {672, 123, 26, 26}, runtime::TimerBlock{1}.serialize(),
        {{runtime::timer::kTick, tabs::OnProgressTimer}}));
    c.push_back(component("PageControl", tabs::name::kTabControl, {4, 83, 664, 280},
        widgets::PageControlBlock::form().serialize(),
        {{widgets::page_control::kPageChanged, tabs::onTabPageChanged},
            {widgets::page_control::kHeaderRightClicked, tabs::onTabHeaderRightClicked}}));
    c.push_back(component("EditBox", tabs::name::kAddressBox, {116, 28, 155, 20}, runtime::EditBoxBlock{}.serialize()));
    c.push_back(button(tabs::name::kRefreshButton, {91, 24, 27, 27}));
    c.push_back(button(tabs::name::kForwardButton, {33, 24, 27, 27}));
    c.push_back(button(tabs::name::kBackButton, {4, 24, 27, 27}));
    return w;
}

runtime::WindowDescription testStatusWindow() {
    runtime::WindowDescription w;
    w.name = "窗口_状态";
    w.rect = {50, 50, 495, 245};
    w.bindings = {{runtime::window_event::kCreated, tabs::onStatusWindowCreated}};
    w.components.push_back(
        component("Label", tabs::name::kStatusTextLabel, {0, 0, 471, 16}, runtime::LabelBlock{}.serialize()));
    w.components.push_back(component("Timer", tabs::name::kFadeTimer, {224, 56, 26, 26},
        runtime::TimerBlock{0}.serialize(), {{runtime::timer::kTick, tabs::onFadeTimerTick}}));
    return w;
}

void TabWindowTest::SetUpTestSuite() {
    testsupport::requireDisplay();
    runtime::Runtime& r = runtime::Runtime::instance();
    if (!r.hasKind("WebBrowser")) {
        runtime::registerBuiltinKinds(r);
        widgets::registerWidgetKinds(r);
    }
}

void TabWindowTest::SetUp() {
    rt().setRuntimeErrorHook([this](int code, const std::string& message) {
        errors_.push_back(std::to_string(code) + ": " + message);
        return true;
    });
}

void TabWindowTest::TearDown() {
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    tabs::MainUi& u = tabs::mainUi();
    if (!u.statusWindow.isNull()) rt().destroyWindow(u.statusWindow.window);
    if (mainWindow_) rt().destroyWindow(mainWindow_);
    rt().processPendingMessages();
    u = tabs::MainUi{};
    tabs::tabTable.assign(1, tabs::TabRecord{});
    tabs::currentTab = 0;
    tabs::busy = 0;
    tabs::maxCaptionLength = 16;
    tabs::layoutReady = 0;
    tabs::statusFade() = tabs::StatusFade{};
    tabs::shellHooks() = tabs::ShellHooks{};
}

void TabWindowTest::openWindow(const std::string& url) {
    runtime::ComponentRef main = rt().loadWindow(testMainWindow([this, url](runtime::Event& e) -> runtime::Value {
        tabs::bindMainWindow(rt(), e.source);
        runtime::ComponentRef status = rt().loadWindow(testStatusWindow(), e.source, false);
        tabs::bindStatusWindow(rt(), status);
        program::shell().margins = {3, 3, 3, 3};
        tabs::maxCaptionLength = 16;
        tabs::CreateFirstTab(url);
        return {};
    }));
    mainWindow_ = main.window;
    rt().show(mainWindow_);
    tabs::layoutReady = 1;
    tabs::ArrangeCloseButtons();
}

bool TabWindowTest::settle() {
    return waitFor([&] {
        for (const tabs::TabRecord& r : tabs::tabTable) {
            auto* b = dynamic_cast<widgets::web_browser::WebBrowser*>(rt().component(r.browser()));
            if (b && b->view() && webkit_web_view_is_loading(b->view())) return false;
        }
        return true;
    });
}

runtime::ComponentRef TabWindowTest::browser(int n) const {
    return tabs::tabTable.at(static_cast<size_t>(n - 1)).browser();
}
runtime::ComponentRef TabWindowTest::closeButton(int n) const {
    return tabs::tabTable.at(static_cast<size_t>(n - 1)).closeButton();
}

std::string TabWindowTest::tag(runtime::ComponentRef ref) {
    return runtime::asText(rt().get(ref, runtime::prop::kTag));
}
bool TabWindowTest::shown(runtime::ComponentRef ref) { return runtime::asBool(rt().get(ref, runtime::prop::kVisible)); }
std::string TabWindowTest::caption(int page) { return tabs::components::pageCaption(page); }

std::string TabWindowTest::tabState() {
    std::string state;
    for (int n = 1; n <= tabs::tabCount(); ++n) {
        const bool current = n == tabs::currentTab;
        if (!state.empty()) state += ' ';
        state += runtime::lenient::text(browser(n), runtime::prop::kTag);
        if (current) state += '*';
        if (runtime::lenient::visible(browser(n)) != current) state += '!';
    }
    if (tabs::components::currentPage() != tabs::currentTab - 1)
        state += " page=" + std::to_string(tabs::components::currentPage());
    if (tabs::components::pageCount() != tabs::tabCount())
        state += " pages=" + std::to_string(tabs::components::pageCount());
    return state;
}

std::string TabWindowTest::tip(int page) {
    auto pages = widgets::PageControlBlock::parsePages(
        runtime::asBytes(rt().get(tabs::mainUi().tabControl, runtime::prop::own(widgets::page_control::kPageList))));
    if (!pages || page < 0 || page >= static_cast<int>(pages->size())) return "<no page>";
    return (*pages)[static_cast<size_t>(page)].tip;
}

std::string TabWindowTest::windowCaption() {
    return runtime::asText(rt().get(tabs::mainUi().window, runtime::window_prop::kCaption));
}

std::string TabWindowTest::address() {
    return runtime::asText(rt().get(tabs::mainUi().addressBox, runtime::prop::own(runtime::edit_box::kContent)));
}

void TabWindowTest::raise(int n, int event, std::vector<runtime::Value> args) { rt().raise(browser(n), event, args); }

int TabWindowTest::componentCount() { return static_cast<int>(rt().components(mainWindow_).size()); }

}  // namespace tabs_test
