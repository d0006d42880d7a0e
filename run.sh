#!/usr/bin/env bash
# Installs what is missing, builds a Release build in build/ and starts the
# browser with the given arguments. Without a display it starts a virtual X
# server, waits for the main window and the first page, saves a screenshot,
# prints its path and keeps the program running until interrupted.
set -euo pipefail
cd "$(dirname "$0")"
if [ "$(id -u)" -eq 0 ] && [ -z "${VAROMEL_ROOT_WARNED:-}" ]; then
  export VAROMEL_ROOT_WARNED=1  # once, though the demo runs this script again
  echo "Warning: running as root. Root is needed only to install packages;" \
       "the browser itself should run as a normal user (a web page shown to root" \
       "has the whole system within reach if the engine is ever broken into)." >&2
fi
if [ -n "${DISPLAY:-}" ]; then
  scripts/install-deps run
else
  scripts/install-deps run headless
fi
BUILD_TYPE=Release scripts/build

if [ "${DEMO:-}" = 1 ] && [ -x scripts/demo-site ]; then
  exec scripts/demo-site ./run.sh "$@"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec build/varomel "$@"
fi

exec scripts/with-xvfb scripts/screenshot-session "$@"
