#!/usr/bin/env bash
# Every C++ source and header under src/, tests/, fuzz/ and bench/ is laid
# out as .clang-format says, so a reformat never hides inside a change. A
# missing clang-format fails the check: it is a test package.
set -uo pipefail
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
if ! command -v clang-format >/dev/null; then
  echo "FAIL: clang-format is not installed (scripts/install-deps test)"
  exit 1
fi
cd "$src" || exit 1

# The check must see a badly laid out file, or a passing run means nothing.
bad=$(mktemp --suffix=.cpp) || exit 1
trap 'rm -f "$bad"' EXIT
printf 'int  f( ){return 1;}\n' >"$bad"
if clang-format --style=file:"$src/.clang-format" --dry-run --Werror "$bad" 2>/dev/null; then
  echo "FAIL: clang-format did not notice a badly laid out file"
  exit 1
fi

mapfile -d '' files < <(find src tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${#files[@]}" -lt 100 ]; then
  echo "FAIL: only ${#files[@]} sources found under $src"
  exit 1
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "FAIL: run clang-format -i on the files above"
  exit 1
fi
echo "${#files[@]} files laid out as .clang-format says"
