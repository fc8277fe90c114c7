#!/usr/bin/env bash
# What an idle map screen costs, under a virtual X display with the
# software renderer: a copy of Europe 1939 with Germany, the first country
# of the impulse, as the human country; the game starts, the map screen
# shows Germany's turn and the player only reads the map. The processor
# time of the game over IDLE_SECONDS (60 by default) is read from /proc and
# printed as a share of one core; the walk fails above MAX_PERCENT (10 by
# default). Then Esc, pause menu, exit.
#
#   scripts/idle_cpu_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "idle cpu walk" "$@"

walk_make_europe_germany_run

IDLE_SECONDS="${IDLE_SECONDS:-60}" MAX_PERCENT="${MAX_PERCENT:-10}" walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
start_fixture_game_first_country
sleep 3
# utime and stime, fields 14 and 15 of /proc/PID/stat (the name in field 2
# holds no blank), in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz="$(getconf CLK_TCK)"
before="$(ticks)"
sleep "$IDLE_SECONDS"
after="$(ticks)"
percent="$(awk -v t=$((after - before)) -v hz="$hz" -v s="$IDLE_SECONDS" 'BEGIN { printf "%.1f", 100 * t / hz / s }')"
echo "idle map screen: ${percent}% of a core over ${IDLE_SECONDS} s" | tee "$out/idle_cpu.txt"
quit_game
awk -v p="$percent" -v m="$MAX_PERCENT" 'BEGIN { exit !(p <= m) }' || { echo "idle cpu walk FAILED: ${percent}% > ${MAX_PERCENT}%" >&2; exit 1; }
INNER
rc=$?
walk_ended "$rc"
echo "idle cpu walk ok: $(cat "$out/idle_cpu.txt")"
