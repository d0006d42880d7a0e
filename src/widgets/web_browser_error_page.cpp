#include "web_browser_error_page.h"

namespace widgets::web_browser {

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string errorPageHtml(std::string_view uri, std::string_view reason) {
    std::string u = escapeHtml(uri);
    std::string r = escapeHtml(reason);
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>无法显示此网页</title>"
           "<style>body{font-family:sans-serif;margin:40px;color:#333}"
           "h1{font-size:20px;color:#2b5797}p{font-size:14px;line-height:1.6}"
           "code{word-break:break-all;color:#666}</style></head><body>"
           "<h1>无法显示此网页</h1>"
           "<p>打开下面的地址时出错：</p><p><code>" +
           u +
           "</code></p>"
           "<p>原因：" +
           r +
           "</p>"
           "<p>请检查网络连接和地址是否正确，然后按“刷新”重试。</p>"
           "</body></html>";
}

}  // namespace widgets::web_browser
