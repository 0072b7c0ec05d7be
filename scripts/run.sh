#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool. Without a display
# (a bare server), it starts on a virtual one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X server (xvfb-run)."
  exec xvfb-run -a "$root/build/zuvi-taggen"
fi
exec "$root/build/zuvi-taggen"
