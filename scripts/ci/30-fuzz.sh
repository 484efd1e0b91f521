#!/usr/bin/env bash
# Fuzz stage: builds the libFuzzer targets with Clang (ASan + UBSan) and runs
# each for a bounded time from its seed corpus under fuzz/corpus. Any crash,
# sanitizer report or broken property fails the stage; each target's
# execution count is printed.
# KESTROVA_FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build-fuzz
seconds=${KESTROVA_FUZZ_SECONDS:-20}
CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTROVA_BUILD_FUZZERS=ON -DKESTROVA_BUILD_GUI=OFF -DKESTROVA_BUILD_TESTS=OFF \
  -DKESTROVA_WARNINGS_AS_ERRORS=ON -DKESTROVA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target kestrova_fuzzers -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failures=0
summary=()
for corpus in fuzz/corpus/*/; do
  name=$(basename "$corpus")
  fuzzer=$build/fuzz/fuzz_$name
  if [ ! -x "$fuzzer" ]; then
    echo "FAIL: no fuzz target for corpus $corpus" >&2
    failures=$((failures + 1))
    continue
  fi
  # New inputs go to a scratch directory; the seed corpus stays as checked in.
  mkdir -p "$work/$name"
  log=$work/$name.log
  echo "--- $name: ${seconds} s"
  status=0
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$work/$name" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if ((status != 0)) || ! grep -q '^Done [0-9]* runs' "$log"; then
    grep -E -A30 'ERROR|property broken|runtime error|deadly signal' "$log" | head -60 >&2 || tail -40 "$log" >&2
    for artifact in "$work/$name"-*; do
      [ -e "$artifact" ] && echo "finding: $artifact ($(od -An -tx1 "$artifact" | tr -d " \n" | head -c 200))" >&2
    done
    echo "FAIL: $name (exit $status)" >&2
    failures=$((failures + 1))
    summary+=("$name: FAILED after ${runs:-?} executions")
  else
    summary+=("$name: ${runs} executions, no findings")
  fi
done

echo "--- fuzz summary"
printf '%s\n' "${summary[@]}"
if ((failures)); then
  echo "fuzz: $failures target(s) failed" >&2
  exit 1
fi
