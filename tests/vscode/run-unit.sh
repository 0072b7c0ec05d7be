#!/usr/bin/env bash
# The extension's own logic without VS Code: bundles each unit test with
# esbuild from the staged npm packages and runs it with Node's test runner.
# Usage: run-unit.sh STAGE OUT
set -euo pipefail
stage="$1" out="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
rm -rf "$out" && mkdir -p "$out"
for test in "$here"/unit/*.test.ts; do
  "$stage/node_modules/.bin/esbuild" "$test" --bundle --platform=node --format=cjs --log-level=warning \
    --outfile="$out/$(basename "$test" .ts).js"
done
# The tests bundled elsewhere find their fixtures from here.
export ZUVI_VSCODE_TESTS="$here"
exec node --test "$out"/*.test.js
