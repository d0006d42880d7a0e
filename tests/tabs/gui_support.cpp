#include "gui_support.h"

#include <cstdlib>

#include "runtime/kinds/builtin_kinds.h"
#include "runtime/property_block.h"
#include "tabs/main_ui.h"
#include "program/program_state.h"
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

namespace n = ui::name;
namespace wb = widgets::web_browser;

rt::ComponentDescription component(const char* kind, const char* name, rt::Rect rect, rt::Bytes block,
                                   rt::Bindings bindings = {}, bool visible = true) {
    rt::ComponentDescription c;
    c.kind = kind;
    c.name = name;
    c.rect = rect;
    c.block = std::move(block);
    c.bindings = std::move(bindings);
    c.visible = visible;
    return c;
}

rt::ComponentDescription button(const char* name, rt::Rect rect, rt::Handler click = nullptr, bool visible = true) {
    rt::Bindings b;
    if (click) b[0] = std::move(click);
    return component("PicBtn", name, rect, widgets::PicBtnBlock{}.serialize(), std::move(b), visible);
}

rt::Bytes browserBlock() {
    rt::BlockWriter w;
    w.u32(1).i32(0).u32(1).u32(0).u32(1).u32(0);
    return w.take();
}

}  // namespace

rt::WindowDescription testMainWindow(std::function<rt::Value(rt::Event&)> created) {
    rt::WindowDescription w;
    w.name = "窗口_启动窗口";
    w.rect = {0, 0, 1030, 750};
    w.bindings = {{rt::window_event::kCreated, std::move(created)}};
    auto& c = w.components;
    c.push_back(button(n::kNewTabButton, {792, 24, 14, 14}));
    c.push_back(button(n::kTemplateCloseButton, {328, 5, 16, 16}, tabs::onCloseButtonClick, false));
    c.push_back(button(n::kCloseCurrentTabButton, {763, 3, 25, 17}, tabs::onCloseCurrentTabClick));
    c.push_back(component("Label", n::kTitleLabel, {3, 3, 661, 20}, rt::LabelBlock{}.serialize()));
    c.push_back(button(n::kForwardDisabledButton, {560, 23, 27, 27}));
    c.push_back(button(n::kBackDisabledButton, {531, 23, 27, 27}));
    c.push_back(component("WebBrowser", n::kTemplateBrowser, {4, 83, 600, 200}, browserBlock(),
                          tabs::browserEventBindings(), false));
    c.push_back(button(n::kStopButton, {747, 23, 27, 27}, nullptr, false));
    widgets::TransLabelBlock progress;
    progress.text = "100.1%";
    c.push_back(component("TransLabel", n::kLoadProgressLabel, {462, 31, 42, 11}, progress.serialize()));
    c.push_back(component("Timer", n::kProgressTimer, {672, 123, 26, 26}, rt::TimerBlock{1}.serialize(),
                          {{rt::timer::kTick, tabs::onProgressTimerTick}}));
    c.push_back(component("PageControl", n::kTabControl, {4, 83, 664, 280},
                          widgets::PageControlBlock::form().serialize(),
                          {{widgets::page_control::kPageChanged, tabs::onTabPageChanged},
                           {widgets::page_control::kHeaderRightClicked, tabs::onTabHeaderRightClicked}}));
    c.push_back(component("EditBox", n::kAddressBox, {116, 28, 155, 20}, rt::EditBoxBlock{}.serialize()));
    c.push_back(button(n::kRefreshButton, {91, 24, 27, 27}));
    c.push_back(button(n::kForwardButton, {33, 24, 27, 27}));
    c.push_back(button(n::kBackButton, {4, 24, 27, 27}));
    return w;
}

rt::WindowDescription testStatusWindow() {
    rt::WindowDescription w;
    w.name = "窗口_状态";
    w.rect = {50, 50, 495, 245};
    w.bindings = {{rt::window_event::kCreated, tabs::onStatusWindowCreated}};
    w.components.push_back(component("Label", n::kStatusTextLabel, {0, 0, 471, 16}, rt::LabelBlock{}.serialize()));
    w.components.push_back(component("Timer", n::kFadeTimer, {224, 56, 26, 26}, rt::TimerBlock{0}.serialize(),
                                     {{rt::timer::kTick, tabs::onFadeTimerTick}}));
    return w;
}

void TabWindowTest::SetUpTestSuite() {
    testsupport::requireDisplay();
    rt::Runtime& r = rt::Runtime::instance();
    if (!r.hasKind("WebBrowser")) {
        rt::registerBuiltinKinds(r);
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
    ui::MainUi& u = ui::mainUi();
    if (!u.statusWindow.isNull()) rt().destroyWindow(u.statusWindow.window);
    if (mainWindow_) rt().destroyWindow(mainWindow_);
    rt().processPendingMessages();
    u = ui::MainUi{};
    tabs::tabTable.assign(1, tabs::TabRecord{});
    tabs::currentTab = 0;
    tabs::busy = 0;
    tabs::maxCaptionLength = 16;
    tabs::layoutReady = 0;
    tabs::statusFade() = tabs::StatusFade{};
    tabs::shellHooks() = tabs::ShellHooks{};
}

void TabWindowTest::openWindow(const std::string& url) {
    rt::ComponentRef main = rt().loadWindow(testMainWindow([this, url](rt::Event& e) -> rt::Value {
        ui::bindMainWindow(rt(), e.source);
        rt::ComponentRef status = rt().loadWindow(testStatusWindow(), e.source, false);
        ui::bindStatusWindow(rt(), status);
        ui::shell().margins = {3, 3, 3, 3};
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
            auto* b = dynamic_cast<wb::WebBrowser*>(rt().component(r.browser()));
            if (b && b->view() && webkit_web_view_is_loading(b->view())) return false;
        }
        return true;
    });
}

rt::ComponentRef TabWindowTest::browser(int n) const { return tabs::tabTable.at(static_cast<size_t>(n - 1)).browser(); }
rt::ComponentRef TabWindowTest::closeButton(int n) const {
    return tabs::tabTable.at(static_cast<size_t>(n - 1)).closeButton();
}

std::string TabWindowTest::tag(rt::ComponentRef ref) { return rt::asText(rt().get(ref, rt::prop::kTag)); }
bool TabWindowTest::shown(rt::ComponentRef ref) { return rt::asBool(rt().get(ref, rt::prop::kVisible)); }
std::string TabWindowTest::caption(int page) { return tabs::cx::pageCaption(page); }

std::string TabWindowTest::tabState() {
    std::string state;
    for (int n = 1; n <= tabs::tabCount(); ++n) {
        const bool current = n == tabs::currentTab;
        if (!state.empty()) state += ' ';
        state += tabs::cx::text(browser(n), rt::prop::kTag);
        if (current) state += '*';
        if (tabs::cx::visible(browser(n)) != current) state += '!';
    }
    if (tabs::cx::currentPage() != tabs::currentTab - 1) state += " page=" + std::to_string(tabs::cx::currentPage());
    if (tabs::cx::pageCount() != tabs::tabCount()) state += " pages=" + std::to_string(tabs::cx::pageCount());
    return state;
}

std::string TabWindowTest::tip(int page) {
    auto pages = widgets::PageControlBlock::parsePages(
        rt::asBytes(rt().get(ui::mainUi().tabControl, rt::prop::own(widgets::page_control::kPageList))));
    if (!pages || page < 0 || page >= static_cast<int>(pages->size())) return "<no page>";
    return (*pages)[static_cast<size_t>(page)].tip;
}

std::string TabWindowTest::windowCaption() {
    return rt::asText(rt().get(ui::mainUi().window, rt::window_prop::kCaption));
}

std::string TabWindowTest::address() {
    return rt::asText(rt().get(ui::mainUi().addressBox, rt::prop::own(rt::edit_box::kContent)));
}

void TabWindowTest::raise(int n, int event, std::vector<rt::Value> args) { rt().raise(browser(n), event, args); }

int TabWindowTest::componentCount() { return static_cast<int>(rt().components(mainWindow_).size()); }

}  // namespace tabs_test
