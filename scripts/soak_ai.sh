#!/usr/bin/env bash
# Soak run of computer-against-computer play, outside CI: GAMES games of
# "Europe, September 1939" with every country computer-controlled, IMPULSES
# impulses each, seeds 1..GAMES, in a Release build of the headless runner
# (build/release, configured as scripts/play.sh does). Each game runs in a
# folder of its own under build/release/soak_ai with a time limit; a game
# that passes it counts as a hang, one ended by a signal as a crash. Prints a
# table of the games (exit, impulses, seconds, the slowest impulse and who
# holds Paris, Warsaw and Moscow at the end, from the runner's summary),
# then the totals. Exit 1 when any game crashed, hung or failed.
#   scripts/soak_ai.sh [GAMES] [IMPULSES] [PARALLEL] [SECONDS_PER_GAME]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
games="${1:-100}"
impulses="${2:-100}"
parallel="${3:-2}"
limit="${4:-600}"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" headless_game >/dev/null
runner="$build/tools/headless_game"

soak="$build/soak_ai"
rm -rf "$soak"
mkdir -p "$soak/scenario"
cp -r "$root/data/scenarios/Europe1939" "$soak/scenario/Europe1939"

# One game: its own working folder (the log and the save are per folder),
# the runner under the time limit, its exit code kept beside the summary.
play_one() {
  local seed="$1" dir="$soak/game-$1" rc=0
  mkdir -p "$dir/data/scenarios" "$dir/data/save"
  ln -s "$soak/scenario/Europe1939" "$dir/data/scenarios/Europe1939"
  ln -s "$root/data/gfx" "$dir/data/gfx"
  (cd "$dir" && timeout -k 10 "$limit" "$runner" Europe1939 "$impulses" "$seed" soak \
    --summary summary.txt >runner.out 2>&1) || rc=$?
  echo "$rc" >"$dir/rc"
}
export -f play_one
export soak root runner impulses limit
seq 1 "$games" | xargs -P "$parallel" -I{} bash -c 'play_one {}'

# The value of field key in the summary's line that starts with kind (and,
# for holders, names the city).
field() { sed -n "s/.* $2=\\(\"[^\"]*\"\\|[^ ]*\\).*/\\1/p" <<<"$1" | tr -d '"'; }

crashes=0 hangs=0 failures=0 slowest=0 slowest_game=""
declare -A held
printf '%-5s %-6s %-8s %-9s %-16s %-18s %-18s %-18s\n' seed exit impulses seconds slowest_impulse Paris Warsaw Moscow
for seed in $(seq 1 "$games"); do
  dir="$soak/game-$seed"
  rc="$(cat "$dir/rc")"
  summary="$dir/summary.txt"
  state="$rc"
  if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
    hangs=$((hangs + 1)); state="hang"
  elif [ "$rc" -gt 128 ]; then
    crashes=$((crashes + 1)); state="crash($((rc - 128)))"
  elif [ "$rc" != 0 ]; then
    failures=$((failures + 1))
  fi
  if [ "$rc" = 0 ] && [ -f "$summary" ]; then
    game="$(grep '^game ' "$summary")"
    speed="$(grep '^speed ' "$summary")"
    played="$(field "$game" impulses)"
    seconds="$(field "$speed" seconds)"
    slow_s="$(field "$speed" slowest_seconds)"
    slow_n="$(field "$speed" slowest_impulse)"
    holders=()
    for city in Paris Warsaw Moscow; do
      line="$(grep "^holder city=\"$city\"" "$summary" || true)"
      who="$(field "$line" controller)"
      holders+=("${who:-?}")
      held["$city/${who:-?}"]=$(( ${held["$city/${who:-?}"]:-0} + 1 ))
    done
    if awk -v a="$slow_s" -v b="$slowest" 'BEGIN { exit !(a > b) }'; then
      slowest="$slow_s"; slowest_game="seed $seed, impulse $slow_n"
    fi
    printf '%-5s %-6s %-8s %-9s %-16s %-18s %-18s %-18s\n' "$seed" "$state" "$played" "$seconds" \
      "#$slow_n ${slow_s}s" "${holders[0]}" "${holders[1]}" "${holders[2]}"
  else
    printf '%-5s %-6s (see %s)\n' "$seed" "$state" "$dir/runner.out"
  fi
done
echo
echo "games=$games impulses=$impulses crashes=$crashes hangs=$hangs failures=$failures"
echo "slowest impulse: ${slowest}s ($slowest_game)"
for city in Paris Warsaw Moscow; do
  line="$city:"
  for key in "${!held[@]}"; do
    [ "${key%%/*}" = "$city" ] && line="$line ${key#*/}=${held[$key]}"
  done
  echo "$line"
done
[ $((crashes + hangs + failures)) -eq 0 ]
