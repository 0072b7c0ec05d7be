#!/usr/bin/env bash
# Configures a Release build with the benchmarks in build-bench/, builds the
# benchmark program with the tool and the bare window, and runs it on the
# offscreen platform; start-up as the user sees it, and navigation and memory
# with real X11 windows, run on a private Xvfb it starts itself. Prints Google
# Benchmark's table and then the summary of the figures that have a target;
# the whole output is also kept in build-bench/bench-results.txt.
#
#   bench/run.sh                                    # everything, about a minute
#   bench/run.sh --benchmark_filter='StartUp|Memory'  # a part
#
# Further arguments go to the benchmark program (Google Benchmark flags).
# ZUVI_BENCH_ROUNDS sets the number of fresh processes per start-up and
# memory figure (default 9; the median is reported); the end-to-end start-up
# takes nine times as many.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build-bench

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZUVI_BUILD_BENCHMARKS=ON -DZUVI_BUILD_TESTS=OFF -DZUVI_WITH_XCB=ON -DZUVI_WITH_FONTCONFIG=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target zuvi_bench

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
  "$(free -m | awk '/^Mem:/ {print $2}') MiB memory, kernel $(uname -r)"
QT_QPA_PLATFORM=offscreen "$build/bench/zuvi_bench" "$@" 2>&1 \
  | tee "$build/bench-results.txt"
