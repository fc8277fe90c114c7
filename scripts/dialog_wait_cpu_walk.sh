#!/usr/bin/env bash
# What the worker thread costs while it waits for a dialog, under a virtual
# X display: a copy of Europe 1939 with Poland as the human country, whose
# turn comes after the Axis countries'; the computer's combat reports stay
# up until a click ("Delay/AICombatResult=-1000"). Once the first report is
# up, the processor time of the worker thread, of the main thread (the frame
# loop) and of the whole game over WAIT_SECONDS (60 by default) is read from
# /proc and printed as a share of one core; then the game is ended. Run by
# hand, on a Release build (scripts/play.sh builds one):
#
#   scripts/dialog_wait_cpu_walk.sh build/release [output folder]
#
# The worker is the thread named "tw-worker"; in a build from before the
# thread had its name, the one thread besides the main thread that carries
# the program's own name.
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "dialog wait cpu walk" "$@"

# Poland (6) is the human country.
walk_make_europe_run 6 Poland
cat >>"$run/Settings.ini" <<'INI'
[Delay]
AICombatResult=-1000
INI

WAIT_SECONDS="${WAIT_SECONDS:-60}" walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
open_fixture_game
await_shot ComputerPhase_cDialogWynikuWalki 1 1200 || fail "no computer combat report came up"
sleep 2
worker_tid() {
  local task name own
  own="$(cat "/proc/$pid/comm")"
  for task in /proc/"$pid"/task/*; do
    [ "$(cat "$task/comm")" = tw-worker ] && { basename "$task"; return; }
  done
  local found=()
  for task in /proc/"$pid"/task/*; do
    name="$(cat "$task/comm")"
    [ "$(basename "$task")" != "$pid" ] && [ "$name" = "$own" ] && found+=("$(basename "$task")")
  done
  [ "${#found[@]}" -eq 1 ] && echo "${found[0]}"
}
tid="$(worker_tid)"
[ -n "$tid" ] || fail "the worker thread was not found among: $(cat /proc/"$pid"/task/*/comm | tr '\n' ' ')"
# utime and stime, fields 14 and 15 of a stat file (the names hold no
# blank), in clock ticks.
ticks() { awk '{ print $14 + $15 }' "$1"; }
hz="$(getconf CLK_TCK)"
share() { awk -v t="$1" -v hz="$hz" -v s="$WAIT_SECONDS" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }
waits() { log_count "worker_messages.cpp"; }
worker_before="$(ticks "/proc/$pid/task/$tid/stat")"
main_before="$(ticks "/proc/$pid/task/$pid/stat")"
game_before="$(ticks "/proc/$pid/stat")"
waits_before="$(waits)"
sleep "$WAIT_SECONDS"
worker_after="$(ticks "/proc/$pid/task/$tid/stat")"
main_after="$(ticks "/proc/$pid/task/$pid/stat")"
game_after="$(ticks "/proc/$pid/stat")"
waits_after="$(waits)"
# The worker must still be waiting for the report: its trace lines go on
# (one a poll) and are the log's last.
last_trace="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt 2>/dev/null | grep "^S: " | tail -n1)"
[ "$waits_after" -gt "$waits_before" ] && [[ "$last_trace" == *worker_messages.cpp* ]] ||
  fail "the worker was not waiting for the report (last trace line: $last_trace)"
{
  echo "worker waiting for the combat report: $(share $((worker_after - worker_before)))% of a core over ${WAIT_SECONDS} s"
  echo "main thread (the frame loop) meanwhile: $(share $((main_after - main_before)))% of a core"
  echo "whole game meanwhile: $(share $((game_after - game_before)))% of a core"
  echo "the wait's trace lines meanwhile (one a poll of 100 ms): $((waits_after - waits_before))"
} | tee "$out/dialog_wait_cpu.txt"
echo "threads (tid name ticks): $(for task in /proc/"$pid"/task/*; do
  echo -n "$(basename "$task") $(cat "$task/comm") $(ticks "$task/stat"); "; done)" >"$out/threads.txt"
# The report would take the Esc of the pause menu: the game is ended here.
kill "$pid"
wait "$pid" 2>/dev/null
exit 0
INNER
rc=$?
walk_ended "$rc"
echo "dialog wait cpu walk ok: $(tr '\n' ' ' <"$out/dialog_wait_cpu.txt")"
