#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and fuzzes each one for a
# bounded time, starting from its committed corpus in tests/fuzz/corpus/.
#
#   tests/fuzz/run.sh [target...]      each <target>_fuzz.cpp here is a target; all by default
#   FUZZ_SECONDS=300 tests/fuzz/run.sh pagedata
#
# New inputs go to build-fuzz/corpus/<target>/, crashes to
# build-fuzz/artifacts/. Keep a crashing input as a regression case in
# tests/fuzz/corpus/<target>/ (the gcc build's fuzz_smoke test runs it) and
# fix the code.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-30}"
targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" _fuzz.cpp)")
  done
fi

cmake -S "$root/tests/fuzz/libfuzzer" -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  log="$build/$target.log"
  echo "fuzzing $target for ${seconds}s"
  # The first corpus directory takes the new inputs; the committed one only
  # seeds the run.
  if UBSAN_OPTIONS=print_stacktrace=1 "$build/${target}_fuzz" \
      -max_total_time="$seconds" -timeout=10 -max_len=8192 \
      -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 \
      "$build/corpus/$target" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb" "$log" | sed "s/^/  /"
  else
    status=1
    echo "  $target FAILED; the input and the report:"
    ls "$build/artifacts/$target-"* 2>/dev/null | sed "s/^/  /" || true
    tail -n 40 "$log"
  fi
done
exit "$status"
