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

void attachTooltips(rt::Runtime& runtime, const ui::MainUi& u) {
    const std::pair<rt::ComponentRef, const char*> tips[] = {
        {u.backButton, "后退"},
        {u.forwardButton, "前进"},
        {u.homeButton, "主页"},
        {u.refreshButton, "刷新"},
        {u.stopButton, "停止"},
        {u.goButton, "按 Ctrl+Enter 在新窗口中打开网页。 \r\n按 Enter      在当前窗口打开网页。"},
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

}  // namespace app
