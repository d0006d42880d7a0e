#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under one
# virtual X server. Exit status is non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
BUILD_TYPE=${BUILD_TYPE:-Release} scripts/build
cd build
# WebKit's sandbox needs user namespaces that CI containers may not offer.
export WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
export NO_AT_BRIDGE=1
../scripts/with-xvfb ctest --output-on-failure -j2 --timeout 300 "$@"
