#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, widget
# (offscreen), real-window (under Xvfb), then the tests that run the
# program's code again built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then a bounded fuzzing run. Each stage's end is
# printed with the seconds since the start, so that a CI log shows where the
# time went. Compiles go through ccache where it is installed (setup.sh
# installs it): a second run, even in a fresh clone, compiles little.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
started=$SECONDS
stage() { echo "== $1 done, $((SECONDS - started)) s since the start"; }

scripts/setup.sh
stage "normal build"
ctest --preset default
stage "normal tests"

cmake --preset sanitize
cmake --build --preset sanitize -j "$(nproc)"
stage "sanitizer build"
ctest --preset sanitize
stage "sanitizer tests"

# A bounded libFuzzer run of every fuzz target (clang build in build-fuzz/).
tests/fuzz/run.sh
stage "fuzzing"
