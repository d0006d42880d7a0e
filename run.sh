#!/usr/bin/env bash
# Installs what is missing, builds a Release build in build/ and starts the
# browser with the given arguments. Without a display it starts a virtual X
# server, waits for the main window and the first page, saves a screenshot,
# prints its path and keeps the program running until interrupted.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
BUILD_TYPE=Release scripts/build

if [ "${DEMO:-}" = 1 ] && [ -x scripts/demo-site ]; then
  exec scripts/demo-site ./run.sh "$@"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec build/varomel "$@"
fi

exec scripts/with-xvfb scripts/screenshot-session "$@"
