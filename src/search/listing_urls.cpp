#include "listing_urls.h"

#include "program/listing_site.h"

namespace search {

std::string homePageUrl() { return program::listing::kBaseUrl; }

std::string newServersUrl() { return std::string(program::listing::kBaseUrl) + "new.html"; }

std::string keywordSearchUrl(std::string_view encodedKey) {
    return std::string(program::listing::kBaseUrl) + "search.asp?key=" + std::string(encodedKey) + "&otype=name";
}

std::string dateSearchUrl(std::string_view dateKey) {
    return std::string(program::listing::kBaseUrl) + "search.asp?page=1&key=" + std::string(dateKey) +
           "&otype=Sdate&menu=all";
}

}  // namespace search
