#!/usr/bin/env bash
# The Debian package as a user gets it: cpack builds it from the build under
# test; its name, fields and files are what Debian tools expect; unpacked
# into a throw-away root (no install, nothing outside that root), the
# program starts from there and asks the offline listing site for its home
# page.
set -uo pipefail
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
build=${VAROMEL_BUILD_DIR:?the build directory under test}

if [ -n "${DEB_TEST_ROOT:-}" ]; then
  # Inside a private display: run the unpacked program.
  source "$src/tests/program/lib.sh"
  program_test_setup "$DEB_TEST_ROOT/usr/bin/varomel"
  start_site
  start_program
  check "the unpacked program asks the listing site for its home page" wait_received "/"
  check "... and shows it" wait_until name_is "新开服务器一览"
  check "... from the unpacked root" test "$(readlink "/proc/$app/exe")" = "$DEB_TEST_ROOT/usr/bin/varomel"
  echo "$_passed $_failed" >"$DEB_TEST_RESULT"
  finish
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$src/tests/support/checks.sh"
summary() { checks_summary; exit; }

if ! (cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log" >&2
  failed=1
  summary
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$work/out/varomel_${version}_$(dpkg --print-architecture).deb
check "cpack writes varomel_<version>_<arch>.deb" test -f "$deb" || summary

field() { dpkg-deb -f "$deb" "$1"; }
check "the package is named varomel" test "$(field Package)" = varomel
check "it names a maintainer with an address" grep -qE '<[^@>]+@[^>]+>' <<<"$(field Maintainer)"
depends=$(field Depends)
for lib in libwebkit2gtk-4.1-0 libgtk-3-0 libpng16-16 libgif7 libx11-6; do
  check "its dependencies, worked out from the binaries, include $lib" grep -q "\b$lib\b" <<<"$depends"
done
check "it recommends a Chinese font" grep -q fonts-noto-cjk <<<"$(field Recommends)"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/files"
has() { grep -qFx "$1" "$work/files"; }
check "the program is in usr/bin" has usr/bin/varomel
check "the crash helper is in usr/libexec/varomel" has usr/libexec/varomel/varomel-crashbox
check "... and not beside the program" not has usr/bin/varomel-crashbox
check "the desktop entry is in usr/share/applications" has usr/share/applications/varomel.desktop
for size in 16 22 24 32 48 64 128 256; do
  check "an icon of ${size}x${size}" has "usr/share/icons/hicolor/${size}x${size}/apps/varomel.png"
done
check "everything is under usr/" not grep -qvE '^usr/' "$work/files"
check "no test programs or build files travel along" not grep -qE '_tests$|\.a$|\.h$|CMake' "$work/files"

root=$work/root
dpkg -x "$deb" "$root"
for size in 16 48 256; do
  check "the ${size}x${size} icon is ${size} pixels square" \
    test "$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' \
            "$root/usr/share/icons/hicolor/${size}x${size}/apps/varomel.png")" = "${size}x${size}"
done
entry=$root/usr/share/applications/varomel.desktop
check "the desktop entry is valid" desktop-file-validate "$entry"
check "... has a Chinese name" grep -qE '^Name\[zh_CN\]=.*新' "$entry"
check "... and a Chinese comment" grep -qE '^Comment\[zh_CN\]=.+' "$entry"
check "... claims no MIME types or URL schemes" not grep -qE '^MimeType=' "$entry"
check "... is not in the web-browser category" not grep -qE '^Categories=.*WebBrowser' "$entry"
check "... starts the program by its name" grep -qE '^Exec=varomel( |$)' "$entry"

# The unpacked program, on a display of its own, against the offline site.
export VAROMEL_LISTING_URL
VAROMEL_LISTING_URL=$(cat "$build/listing-url")
DEB_TEST_ROOT=$root DEB_TEST_RESULT=$work/run-result bash "$0"
if read -r p f <"$work/run-result" 2>/dev/null; then
  passed=$((passed + p))
  failed=$((failed + f))
else
  check "the unpacked program's checks ran" false
fi
summary
