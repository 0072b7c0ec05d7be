#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, widget
# (offscreen) and real-window (under Xvfb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root/build"
ctest --output-on-failure -j 2 --timeout 600
