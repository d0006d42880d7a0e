// The server-listing site every search goes to: one base URL, and the
// general search engines used when the only tab is closed.
#pragma once

namespace listing {

// Scheme, host and trailing "/": every listing URL is this plus a path.
inline constexpr const char* kBaseUrl = "http://www.varomel-servers.example/";

}  // namespace listing
