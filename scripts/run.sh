#!/usr/bin/env bash
# Starts the program of a release build folder.
set -euo pipefail
build=${1:-build/release}
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  # The program says in one line that there is no display; that is all.
  "$build/app/tavrin" || true
  exit 0
fi
exec "$build/app/tavrin"
