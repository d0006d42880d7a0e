// The server-listing site every search goes to: one base URL, and the
// general search engines used when the only tab is closed.
#pragma once

// program::listing::kBaseUrl, which the build writes from VAROMEL_LISTING_URL.
#include "listing_base_url.h"

namespace program::listing {

// Closing the only tab keeps it open and shows a general search engine
// instead: engine A's home page, or engine B's when A's is already shown.
// B is reachable from networks where A is not, so the cycle always offers
// one that answers.
inline constexpr const char* kSearchEngineAHome = "https://www.google.com/webhp?hl=zh-CN";
inline constexpr const char* kSearchEngineBHome = "https://www.baidu.com/";

}  // namespace program::listing
