#!/usr/bin/env bash
# The layers hold: no file under src/<library> includes a header of a
# library that <library> may not use (the table cmake/Layers.cmake writes to
# $VAROMEL_BUILD_DIR/layers.txt, followed through the libraries each one
# uses), and no relative path leaves its own folder. And the headers that
# are plain logic compile with no toolkit, GLib, cairo or Pango on the
# include path.
#   layers.sh                  checks the tree, and that the checks see faults
#   layers.sh --scan SRC FILE  only the include scan of SRC against table FILE
set -uo pipefail
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}

# Prints "library: every library it may use, directly or through another".
closure() {
  local table=$1
  awk -F: '
    { uses[$1] = $2; names[++n] = $1 }
    function reach(lib, seen,    parts, k, i) {
      k = split(uses[lib], parts, " ")
      for (i = 1; i <= k; i++)
        if (!(parts[i] in seen)) { seen[parts[i]] = 1; reach(parts[i], seen) }
    }
    END {
      for (i = 1; i <= n; i++) {
        delete seen
        reach(names[i], seen)
        line = names[i] ":"
        for (s in seen) line = line " " s
        print line
      }
    }' "$table"
}

# Prints every forbidden include of the tree as "file: the include line".
scan() {
  local tree=$1 table=$2 lib allowed file line target
  local -A may=()
  while IFS=: read -r lib allowed; do may[$lib]=" $lib $allowed "; done < <(closure "$table")
  for lib in "${!may[@]}"; do
    [ -d "$tree/$lib" ] || continue
    while IFS= read -r -d '' file; do
      while IFS= read -r line; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
        if [[ $target == ../* || $target == */../* ]]; then
          # A relative path may climb only inside its own library.
          local resolved
          resolved=$(realpath -m --relative-to="$tree" "$(dirname "$file")/$target")
          [[ $resolved == "$lib"/* ]] || echo "${file#"$tree"/}: $line"
        elif [[ $target == */* ]]; then
          local top=${target%%/*}
          # Only the names of our own libraries are layers; anything else is
          # a path inside the including file's folder.
          [ -n "${may[$top]+x}" ] || continue
          [[ ${may[$lib]} == *" $top "* ]] || echo "${file#"$tree"/}: $line"
        fi
      done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
    done < <(find "$tree/$lib" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
  done
}

if [ "${1:-}" = "--scan" ]; then
  scan "$2" "$3"
  exit 0
fi

source "$src/tests/support/checks.sh"
table=$VAROMEL_BUILD_DIR/layers.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check "the build wrote the layer table" test -s "$table"
found=$(scan "$src/src" "$table")
check "no forbidden include under src/" test -z "$found" || echo "$found" >&2
check "every folder under src/ is a layer" \
  test -z "$(comm -23 <(find "$src/src" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort) \
                      <(cut -d: -f1 "$table" | sort))"

# The scan itself, on a small tree: it must name what it should and only that.
mkdir -p "$work/tree/low/kinds" "$work/tree/mid" "$work/tree/top"
printf 'low:\nmid:low\ntop:mid\n' >"$work/table"
printf '#include "low/a.h"\n#include "../b.h"\n#include <vector>\n' >"$work/tree/low/kinds/fine.cpp"
printf '#include "low/a.h"\n' >"$work/tree/top/through_mid.cpp"
printf '#include "kinds/x.h"\n#include "gdk-pixbuf/y.h"\n' >"$work/tree/mid/own_paths.cpp"
printf '#include "mid/m.h"\n' >"$work/tree/low/upwards.h"
printf '  #  include "top/t.h"\n' >"$work/tree/mid/spaced.cpp"
printf '#include "../../mid/m.h"\n' >"$work/tree/low/kinds/climbs_out.cpp"
got=$(scan "$work/tree" "$work/table" | sort)
expected=$(printf '%s\n' 'low/kinds/climbs_out.cpp: #include "../../mid/m.h"' \
                          'low/upwards.h: #include "mid/m.h"' \
                          'mid/spaced.cpp:   #  include "top/t.h"' | sort)
check "the scan names an upward, a spaced and a climbing include, and nothing allowed" test "$got" = "$expected" ||
  diff <(echo "$expected") <(echo "$got") >&2

# Plain-logic headers compile without the toolkit: only the layers' include
# roots, no pkg-config flags. Toolkit glue is named here; every other header
# must stand on its own.
glue=(runtime/accessible_glue.h runtime/device_picture.h runtime/gobject_ptr.h runtime/input_method.h runtime/key_codes.h runtime/picture_pixbuf.h
      widgets/page_control/image_list.h widgets/page_control/painter.h
      widgets/web_browser_component.h widgets/web_browser_script.h widgets/web_browser_view.h
      widgets/web_download.h app/chrome_platform.h)
cxx=${CXX:-c++}
roots=()
for dir in "$VAROMEL_BUILD_DIR"/include/*/; do roots+=("-I$dir"); done
roots+=("-I$VAROMEL_BUILD_DIR/generated")
for lib in $(cut -d: -f1 "$table"); do
  : >"$work/$lib.cpp"
  while IFS= read -r header; do
    header=${header#"$src/src/"}
    [[ " ${glue[*]} " == *" $header "* ]] || echo "#include \"$header\"" >>"$work/$lib.cpp"
  done < <(find "$src/src/$lib" -name '*.h' | sort)
  check "the plain headers of $lib compile without the toolkit" \
    "$cxx" -std=c++20 -fsyntax-only "${roots[@]}" "$work/$lib.cpp" 2>"$work/$lib.log" ||
    head -n 5 "$work/$lib.log" >&2
done
# And the check would see a header that pulls the toolkit in.
echo '#include <gtk/gtk.h>' >"$work/toolkit.cpp"
check "a header that needs the toolkit does not compile here" \
  not "$cxx" -std=c++20 -fsyntax-only "${roots[@]}" "$work/toolkit.cpp" 2>/dev/null

checks_summary
