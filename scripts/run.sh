#!/usr/bin/env bash
# Starts the program of a release build folder with the sample network open.
set -euo pipefail
build=${1:-build/release}
sample="$(dirname "$0")/../examples/ieee14.pf"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  # The program says in one line that there is no display; that is all.
  "$build/app/tavrin" "$sample" || true
  exit 0
fi
exec "$build/app/tavrin" "$sample"
