#include "tooltips.h"

#include <gtk/gtk.h>

namespace app {

std::string tooltipMarkupFree(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

constexpr const char* kGoTip = "按 Ctrl+Enter 在新窗口中打开网页。 \r\n按 Enter      在当前窗口打开网页。";

// What each named component is called and, for the buttons that have one,
// the tip it shows; a button is read out as its tip unless the tip says
// more than a name (the go button's two lines become its description).
struct ComponentText {
    runtime::ComponentRef ref;
    const char* name;
    const char* tooltip;  // nullptr: no tooltip
};

std::vector<ComponentText> componentTexts(const tabs::MainUi& u) {
    return {
        {u.backButton, "后退", "后退"},
        {u.forwardButton, "前进", "前进"},
        // The greyed pictures stand in for the two buttons when there is
        // nowhere to go; they are read as the same buttons, not enabled.
        {u.backDisabledButton, "后退", nullptr},
        {u.forwardDisabledButton, "前进", nullptr},
        {u.homeButton, "主页", "主页"},
        {u.refreshButton, "刷新", "刷新"},
        {u.stopButton, "停止", "停止"},
        {u.goButton, "转到", kGoTip},
        {u.minimiseButton, "最小化", "最小化"},
        {u.maximiseButton, "最大化", "最大化"},
        {u.restoreButton, "还原", "还原"},
        {u.quitButton, "退出程序", "退出程序"},
        {u.closeCurrentTabButton, "关闭当前标签", "关闭当前标签"},
        {u.searchButton, "搜索", nullptr},
        {u.newTabButton, "新建标签", nullptr},
        // Never shown: each tab's copy is named after its tab.
        {u.templateCloseButton, "关闭标签", nullptr},
        {u.searchBox, "搜索关键字", nullptr},
        {u.addressBox, "网址", nullptr},
    };
}

}  // namespace

void attachTooltips(runtime::Runtime& runtime, const tabs::MainUi& u) {
    for (const ComponentText& t : componentTexts(u))
        if (GtkWidget* host = t.tooltip ? runtime.hostWidget(t.ref) : nullptr)
            gtk_widget_set_tooltip_text(host, tooltipMarkupFree(t.tooltip).c_str());
}

std::vector<AccessibleText> accessibleTexts(const tabs::MainUi& u) {
    std::vector<AccessibleText> out;
    for (const ComponentText& t : componentTexts(u)) {
        bool tipSaysMore = t.tooltip && std::string(t.tooltip) != t.name;
        out.push_back({t.ref, t.name, tipSaysMore ? tooltipMarkupFree(t.tooltip) : ""});
    }
    return out;
}

void nameComponents(runtime::Runtime& runtime, const tabs::MainUi& u) {
    for (const AccessibleText& t : accessibleTexts(u)) runtime.setAccessibleText(t.ref, t.name, t.description);
}

}  // namespace app
