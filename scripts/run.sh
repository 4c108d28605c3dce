#!/usr/bin/env bash
# Starts the program from a release build folder.
set -euo pipefail
build=${1:-build/release}
echo "usage: $build/solver/ostrand [-option...] case-file [listing-file]"
