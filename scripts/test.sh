#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, widget
# (offscreen), real-window (under Xvfb), then the unit and widget tests again
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
ctest --preset default

cmake --preset sanitize
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize

# A bounded libFuzzer run of every fuzz target (clang build in build-fuzz/).
tests/fuzz/run.sh
