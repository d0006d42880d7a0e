# The listing site's base URL is fixed when the program is built:
#   cmake -DVAROMEL_LISTING_URL=https://listing.example.com/ ...
# It must be "http://" or "https://", a host name (letters, digits and
# hyphens in dot-separated labels of at most 63 characters), an optional
# port, and a trailing "/" with nothing after it: every listing URL is this
# text plus a path, so anything else would build broken addresses.
#
# Also a script: cmake -DVAROMEL_LISTING_URL=... -P cmake/ListingUrl.cmake
# checks one value and says why it is refused.

# Sets `out` to an explanation of what is wrong with `url`, or to "" when it
# is a good base URL.
function(varomel_listing_url_problem url out)
  set(label "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?")
  if(NOT url MATCHES "^(http|https)://")
    set(${out} "it must start with http:// or https://" PARENT_SCOPE)
    return()
  endif()
  if(NOT url MATCHES "/$")
    set(${out} "it must end with \"/\"" PARENT_SCOPE)
    return()
  endif()
  if(NOT url MATCHES "^(http|https)://${label}(\\.${label})*(:[0-9]+)?/$")
    set(${out} "it must be the scheme, a host name, an optional :port and \"/\", nothing else" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "^[a-z]+://([^:/]*).*$" "\\1" host "${url}")
  string(LENGTH "${host}" length)
  if(length GREATER 253)
    set(${out} "the host name is longer than 253 characters" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "." ";" labels "${host}")
  foreach(part IN LISTS labels)
    string(LENGTH "${part}" length)
    if(length GREATER 63)
      set(${out} "the host name has a label longer than 63 characters" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  if(url MATCHES ":([0-9]+)/$")
    set(port "${CMAKE_MATCH_1}")
    string(LENGTH "${port}" length)
    if(length GREATER 5 OR port EQUAL 0 OR port GREATER 65535)
      set(${out} "the port must be 1 to 65535" PARENT_SCOPE)
      return()
    endif()
  endif()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Stops the configuration with a clear message when `url` is no good base
# URL.
function(varomel_check_listing_url url)
  varomel_listing_url_problem("${url}" problem)
  if(problem)
    message(FATAL_ERROR "VAROMEL_LISTING_URL=\"${url}\" is not a listing site base URL: ${problem}. "
                        "Example: -DVAROMEL_LISTING_URL=https://www.example.com/")
  endif()
endfunction()

# Checks `url` and writes it as the program's one listing constant into
# `dir`/listing_base_url.h (rewritten only when it changes, so a rebuild
# recompiles only when the URL does), and as plain text into `text_file`
# for the scripts and test fixtures that need the host.
function(varomel_generate_listing_url url dir text_file)
  varomel_check_listing_url("${url}")
  set(header [[// Written by the build from VAROMEL_LISTING_URL; do not edit.
#pragma once

namespace program::listing {

// Scheme, host and trailing "/": every listing URL is this plus a path.
inline constexpr const char* kBaseUrl = "@url@";

}  // namespace program::listing
]])
  file(CONFIGURE OUTPUT "${dir}/listing_base_url.h" CONTENT "${header}" @ONLY)
  file(CONFIGURE OUTPUT "${text_file}" CONTENT "${url}\n" @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  varomel_check_listing_url("${VAROMEL_LISTING_URL}")
endif()
