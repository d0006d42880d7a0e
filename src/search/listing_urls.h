// The four URL forms of the listing site, all on program::listing::kBaseUrl.
#pragma once

#include <string>
#include <string_view>

namespace search {

std::string homePageUrl();
std::string newServersUrl();
// encodedKey is already escaped (encodeKeyword or a fixed hot-search key).
std::string keywordSearchUrl(std::string_view encodedKey);
// dateKey is a date keyword ("2015-8-10"): digits and hyphens, sent as is.
std::string dateSearchUrl(std::string_view dateKey);

}  // namespace search
