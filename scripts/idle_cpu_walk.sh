#!/usr/bin/env bash
# What an idle game costs, under a virtual X display: a copy of Europe 1939
# with Germany, the first country of the impulse, as the human country; the
# game starts, the map screen shows Germany's turn and the player only reads
# the map, then opens the pause menu and reads it. The processor time of the
# game, and of its worker thread (named "tw-worker"), over IDLE_SECONDS (60
# by default) on each is read from /proc and printed as a share of one core;
# the walk fails when the game's is above MAX_PERCENT (10 by default) or the
# worker's above MAX_WORKER_PERCENT (0.2 by default). Then the pause menu's
# exit.
#
# The software renderer by default; TW_WALK_RENDERER=default starts the game
# without a renderer asked for, as scripts/play.sh does (on a machine without
# a graphics driver SDL then finds Mesa's software GL).
#
#   [TW_WALK_RENDERER=default] scripts/idle_cpu_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "idle cpu walk" "$@"

walk_make_europe_germany_run

IDLE_SECONDS="${IDLE_SECONDS:-60}" MAX_PERCENT="${MAX_PERCENT:-10}" MAX_WORKER_PERCENT="${MAX_WORKER_PERCENT:-0.2}" \
  walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
start_fixture_game_first_country
sleep 3
tid=""
for task in /proc/"$pid"/task/*; do
  [ "$(cat "$task/comm")" = tw-worker ] && tid="$(basename "$task")"
done
[ -n "$tid" ] || fail "no worker thread among: $(cat /proc/"$pid"/task/*/comm | tr '\n' ' ')"
# utime and stime, fields 14 and 15 of a stat file (the name in field 2
# holds no blank), in clock ticks: the game's and its worker's.
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat" "/proc/$pid/task/$tid/stat" | tr '\n' ' '; }
hz="$(getconf CLK_TCK)"
share() { awk -v t="$1" -v hz="$hz" -v s="$IDLE_SECONDS" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }
# The game's and the worker's shares of a core over IDLE_SECONDS.
idle_shares() {
  local game_before worker_before game_after worker_after
  read -r game_before worker_before < <(ticks)
  sleep "$IDLE_SECONDS"
  read -r game_after worker_after < <(ticks)
  echo "$(share $((game_after - game_before))) $(share $((worker_after - worker_before)))"
}
read -r map map_worker < <(idle_shares)
echo "idle map screen: ${map}% of a core over ${IDLE_SECONDS} s, the worker ${map_worker}%" | tee "$out/idle_cpu.txt"
open_pause_menu
sleep 3
read -r pause pause_worker < <(idle_shares)
echo "idle pause menu: ${pause}% of a core over ${IDLE_SECONDS} s, the worker ${pause_worker}%" | tee -a "$out/idle_cpu.txt"
exit_from_pause_menu || fail "the game's exit status was not 0"
for percent in "$map" "$pause"; do
  awk -v p="$percent" -v m="$MAX_PERCENT" 'BEGIN { exit !(p <= m) }' || { echo "idle cpu walk FAILED: ${percent}% > ${MAX_PERCENT}%" >&2; exit 1; }
done
for percent in "$map_worker" "$pause_worker"; do
  awk -v p="$percent" -v m="$MAX_WORKER_PERCENT" 'BEGIN { exit !(p <= m) }' ||
    { echo "idle cpu walk FAILED: the worker's ${percent}% > ${MAX_WORKER_PERCENT}%" >&2; exit 1; }
done
INNER
rc=$?
walk_ended "$rc"
echo "idle cpu walk ok (${TW_WALK_RENDERER:-software}): $(tr '\n' ' ' <"$out/idle_cpu.txt")"
