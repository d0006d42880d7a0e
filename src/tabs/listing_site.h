// The server-listing site every search goes to: one base URL, and the
// general search engines used when the only tab is closed.
#pragma once

namespace listing {

// Scheme, host and trailing "/": every listing URL is this plus a path.
inline constexpr const char* kBaseUrl = "http://www.varomel-servers.example/";

// Closing the only tab keeps it open and shows a general search engine
// instead: engine A's home page, or engine B's when A's is already shown.
inline constexpr const char* kSearchEngineAHome = "http://www.search-a.example/webhp?hl=zh-CN";
inline constexpr const char* kSearchEngineBHome = "http://www.search-b.example/";

}  // namespace listing
