#!/usr/bin/env bash
# Solves the sample case in examples/ with the command-line driver of a
# release build folder and tells where the listing went. A failed solve is
# reported, not passed on as the script's own failure.
set -euo pipefail
build=${1:-build/release}
case_file=examples/ieee14.cdf
listing=$build/ieee14-listing.txt

rm -f "$listing"
echo "Solving the IEEE 14-bus case: $build/solver/ostrand -I $case_file $listing"
if "$build/solver/ostrand" -I "$case_file" "$listing"; then
  echo "Solved. The solution listing is in $listing"
else
  echo "The solver could not solve $case_file (exit status $?); no listing was written."
fi
