#!/usr/bin/env bash
# The listing site's base URL is a build option: a value that would build
# broken addresses stops cmake with a message that says why; a good one
# reaches the compiled constant and the file the test fixtures read.
set -uo pipefail
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$src/tests/support/checks.sh"

# Checks one value on its own; prints cmake's message.
verdict() { cmake -DVAROMEL_LISTING_URL="$1" -P "$src/cmake/ListingUrl.cmake" 2>&1; }
accepted() { verdict "$1" >/dev/null; }
# Refused, with the given reason in the message.
refused() {
  local out
  out=$(verdict "$1") && return 1
  out=$(tr -s ' \n' ' ' <<<"$out")
  [[ $out == *"VAROMEL_LISTING_URL=\"$1\" is not a listing site base URL: $2"* ]] || { echo "$out" >&2; return 1; }
}

for url in http://www.varomel-servers.example/ https://www.example.com/ http://listing.example:8080/ \
           http://localhost/ http://127.0.0.1/ http://a-b.c-d.example/; do
  check "accepted: $url" accepted "$url"
done
check "refused: empty" refused "" "it must start with http:// or https://"
check "refused: another scheme" refused ftp://x.example/ "it must start with http:// or https://"
check "refused: an upper-case scheme" refused HTTP://x.example/ "it must start with http://"
check "refused: no scheme" refused www.example.com/ "it must start with"
check "refused: no trailing /" refused http://x.example "it must end with \"/\""
check "refused: a path" refused http://x.example/listing/ "it must be the scheme, a host name"
check "refused: a query" refused "http://x.example/?a=1/" "it must be the scheme, a host name"
check "refused: no host" refused http:/// "it must be the scheme, a host name"
check "refused: user info" refused http://user@x.example/ "it must be the scheme, a host name"
check "refused: a quote (would end the C string)" refused 'http://x".example/' "it must be the scheme, a host name"
check "refused: a space" refused "http://x .example/" "it must be the scheme, a host name"
check "refused: an empty label" refused http://x..example/ "it must be the scheme, a host name"
check "refused: a label starting with -" refused http://-x.example/ "it must be the scheme, a host name"
check "refused: port 0" refused http://x.example:0/ "the port must be 1 to 65535"
check "refused: port 65536" refused http://x.example:65536/ "the port must be 1 to 65535"
long=$(printf 'a%.0s' $(seq 64))
check "refused: a 64-character label" refused "http://$long.example/" "the host name has a label longer than 63"
check "accepted: a 63-character label" accepted "http://${long:1}.example/"

# The whole project: a bad value stops the configuration before anything is
# generated...
out=$(cmake -S "$src" -B "$work/bad" -DVAROMEL_LISTING_URL=http://x.example 2>&1)
status=$?
check "a bad value stops cmake" test "$status" -ne 0
check "... saying which option and why" grep -q 'VAROMEL_LISTING_URL="http://x.example" is not a listing site base URL' <<<"$out"
check "... before the listing constant is written" test ! -e "$work/bad/generated/listing_base_url.h"

# ...and a good one is compiled in as the one constant.
url=https://listing.example.com:8443/
cmake -S "$src" -B "$work/good" -DVAROMEL_LISTING_URL="$url" -DBUILD_TESTING=OFF >"$work/good.log" 2>&1
check "a good value configures" test $? -eq 0 || tail -n 20 "$work/good.log" >&2
check "... into the generated header" grep -qF "inline constexpr const char* kBaseUrl = \"$url\";" \
  "$work/good/generated/listing_base_url.h"
check "... and the file the fixtures read" test "$(cat "$work/good/listing-url")" = "$url"
check "the build under test has the one it says" \
  grep -qF "kBaseUrl = \"$(cat "$VAROMEL_BUILD_DIR/listing-url")\";" "$VAROMEL_BUILD_DIR/generated/listing_base_url.h"

checks_summary
