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
}

void attachTooltips(runtime::Runtime& runtime, const tabs::MainUi& u) {
    const std::pair<runtime::ComponentRef, const char*> tips[] = {
        {u.backButton, "后退"},
        {u.forwardButton, "前进"},
        {u.homeButton, "主页"},
        {u.refreshButton, "刷新"},
        {u.stopButton, "停止"},
        {u.goButton, kGoTip},
        {u.minimiseButton, "最小化"},
        {u.maximiseButton, "最大化"},
        {u.restoreButton, "还原"},
        {u.quitButton, "退出程序"},
        {u.closeCurrentTabButton, "关闭当前标签"},
    };
    for (const auto& [ref, text] : tips)
        if (GtkWidget* host = runtime.hostWidget(ref))
            gtk_widget_set_tooltip_text(host, tooltipMarkupFree(text).c_str());
}

std::vector<AccessibleText> accessibleTexts(const tabs::MainUi& u) {
    return {
        {u.backButton, "后退", ""},
        {u.forwardButton, "前进", ""},
        // The greyed pictures stand in for the two buttons when there is
        // nowhere to go; they are read as the same buttons, not enabled.
        {u.backDisabledButton, "后退", ""},
        {u.forwardDisabledButton, "前进", ""},
        {u.homeButton, "主页", ""},
        {u.refreshButton, "刷新", ""},
        {u.stopButton, "停止", ""},
        {u.goButton, "转到", tooltipMarkupFree(kGoTip)},
        {u.minimiseButton, "最小化", ""},
        {u.maximiseButton, "最大化", ""},
        {u.restoreButton, "还原", ""},
        {u.quitButton, "退出程序", ""},
        {u.closeCurrentTabButton, "关闭当前标签", ""},
        {u.searchButton, "搜索", ""},
        {u.newTabButton, "新建标签", ""},
        // Never shown: each tab's copy is named after its tab.
        {u.templateCloseButton, "关闭标签", ""},
        {u.searchBox, "搜索关键字", ""},
        {u.addressBox, "网址", ""},
    };
}

void nameComponents(runtime::Runtime& runtime, const tabs::MainUi& u) {
    for (const AccessibleText& t : accessibleTexts(u)) runtime.setAccessibleText(t.ref, t.name, t.description);
}

}  // namespace app
