#!/usr/bin/env bash
# Runs every file reader's libFuzzer target for a given number of seconds,
# a few at a time (the test command keeps its short smoke run):
#   bash scripts/fuzz_long.sh SECONDS [PARALLEL] [TARGET...]
# PARALLEL targets run at once (3 by default; the machine may be shared).
# Each target grows its corpus in build/fuzz/corpus/<target> from the seeds
# in tests/fuzz/corpus/<target>; its log and any input that made it fail go
# to build/fuzz/long/<target>/. At the end a table gives per target the
# executions, the seconds run, the exit code and the inputs found failing.
# Exit 1 when any target found something; a sanitizer report, undefined
# behaviour included, ends a target's run as a finding. The files a reader
# is given are written in a scratch folder of each target's own, removed
# when it ends (also when the script is interrupted).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [PARALLEL] [TARGET...]" >&2
  exit 2
fi
seconds="$1"
parallel="${2:-3}"
shift $(( $# >= 2 ? 2 : 1 ))

fuzz="$root/build/fuzz"
CXX=clang++ cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_FUZZ=ON \
  -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
  -DCMAKE_CXX_FLAGS="-O1" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
ninja -C "$fuzz" -j "$parallel" "${targets[@]}"

out="$fuzz/long"
mkdir -p "$out"
scratch_root="$(mktemp -d "${TMPDIR:-/tmp}/tw-fuzz-long.XXXXXX")"
trap 'rm -rf "$scratch_root"' EXIT
trap 'exit 130' INT TERM
run_one() {
  local name="$1" dir="$out/$1" scratch="$scratch_root/$1"
  rm -rf "$dir"
  mkdir -p "$dir" "$fuzz/corpus/$name" "$scratch"
  local seeds="$root/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  local start=$SECONDS code=0
  (cd "$dir" && TMPDIR="$scratch" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "$fuzz/tests/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$dir/" "$fuzz/corpus/$name" $seeds >"$dir/log.txt" 2>&1) || code=$?
  rm -rf "$scratch"
  echo "$code $((SECONDS - start))" >"$dir/result"
}

running=0
for name in "${targets[@]}"; do
  echo "== $name: ${seconds}s"
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

found=0
printf '%-24s %14s %8s %5s %s\n' target executions seconds exit findings
for name in "${targets[@]}"; do
  dir="$out/$name"
  read -r code took <"$dir/result" || { code=?; took=?; }
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log.txt" | grep -o '[0-9]*$' | tail -n 1 || true)"
  [ -n "$runs" ] || runs="$(grep -o 'Done [0-9]* runs' "$dir/log.txt" | grep -o '[0-9]*' | tail -n 1 || true)"
  artifacts="$(cd "$dir" && ls crash-* leak-* timeout-* oom-* slow-unit-* 2>/dev/null | tr '\n' ' ' || true)"
  findings="none"
  if [ "$code" != 0 ] || [ -n "$artifacts" ]; then
    found=1
    summary="$(grep -m1 -E 'ERROR: |runtime error|==ERROR' "$dir/log.txt" || true)"
    findings="${artifacts:-(no input saved)} ${summary}"
  fi
  printf '%-24s %14s %8s %5s %s\n' "$name" "${runs:-?}" "$took" "$code" "$findings"
done
exit "$found"
