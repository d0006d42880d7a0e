#include "widgets/web_browser_error_page.h"

#include <gtest/gtest.h>

namespace {

using namespace widgets::web_browser;

TEST(WebBrowserErrorPage, AddressAndReasonCannotInjectMarkup) {
    std::string page = errorPageHtml("http://x/<script>alert(1)</script>?a=1&b=\"2\"", "<b>bad</b> & 'worse'");
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;?a=1&amp;b=&quot;2&quot;"), std::string::npos);
    EXPECT_NE(page.find("&#39;worse&#39;"), std::string::npos);
    EXPECT_NE(page.find("<title>无法显示此网页</title>"), std::string::npos);
}

}  // namespace
