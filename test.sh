#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under one
# virtual X server. Exit status is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps test
if [ "${SANITIZE:-}" = 1 ]; then
  # Address and undefined-behaviour sanitizers, in a build directory of their
  # own. Leak reports are off: the toolkit keeps caches for the process life.
  # Deadly signals stay with the crash guard, whose handling is under test;
  # bad memory accesses are still caught where they happen.
  BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} scripts/build build-asan -DVAROMEL_SANITIZE=ON -DVAROMEL_REQUIRE_TESTS=ON
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
  cd build-asan
else
  BUILD_TYPE=${BUILD_TYPE:-Release} scripts/build build -DVAROMEL_REQUIRE_TESTS=ON
  cd build
fi
export NO_AT_BRIDGE=1
../scripts/with-xvfb ctest --output-on-failure -j2 --timeout 300 "$@"
