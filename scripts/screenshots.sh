#!/usr/bin/env bash
# Renders every page, after a representative click, into docs/screenshots/
# for the README, and at twice the scale into build/screenshots-2x/ to check
# that nothing breaks on dense screens.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
QT_QPA_PLATFORM=offscreen build/tools/render-pages docs/screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/tools/render-pages build/screenshots-2x
