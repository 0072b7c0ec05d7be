#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the real-window tests
# need (only those missing), then configures and builds into build/.
# Called by run.sh and test.sh.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  ccache                            # compiler cache outside the clone (~/.cache/ccache): CMake uses it when found
  qt6-base-dev libgl-dev            # the toolkit
  libfontconfig-dev                 # reads the font configuration early at start (ZUVI_WITH_FONTCONFIG)
  libicu-dev                        # pinyin of the captions, taken when the project builds
  libxcb1-dev                       # asks the X server who owns the clipboard (ZUVI_WITH_XCB)
  fonts-arphic-uming                # the Song-style face that stands in for 宋体
  fonts-dejavu-core                 # the output box's code face, DejaVu Sans Mono
  libgtest-dev libbenchmark-dev     # tests and benchmarks
  xvfb xauth xdotool xclip          # real-window tests: X server, input, clipboard
  php-cli                           # checks the PHP the tool hands out
  neovim                            # a real client of the language server, run headless
  graphviz                          # dot, which check --graph FILE.svg runs to draw the include graph
  python3-jsonschema                # validates the checker's SARIF reports against their schema
  appstream desktop-file-utils      # validate the desktop integration files
  lintian                           # checks the Debian package
  clang libclang-rt-14-dev          # fuzzing: libFuzzer and the sanitizer runtimes
  nodejs                            # the VS Code extension's build (esbuild, vsce) and its tests
  chromium imagemagick iproute2     # the extension in code-server: the browser, screenshots of Xvfb, loopback
  libkrb5-dev python3               # code-server's native modules, built when its npm package installs
)
# npm comes with some builds of nodejs; Debian's own is a package of its own.
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cd "$(dirname "${BASH_SOURCE[0]}")/.."
# The real VS Code the extension is tested in, from the npm registry, cached
# under ~/.cache once per lock file (tests/vscode/install-rig.sh).
tests/vscode/install-rig.sh >/dev/null ||
  echo "setup: the VS Code test rig could not be installed; its test will be skipped" >&2
cmake --preset default
cmake --build --preset default -j "$(nproc)"
