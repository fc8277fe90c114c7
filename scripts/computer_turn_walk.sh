#!/usr/bin/env bash
# The computer's turn watched under a virtual X display, as a person would:
# a copy of Europe 1939 with Poland as the human country, whose turn comes
# after the Axis countries'. The game starts, Germany, Italy and Slovakia
# play their turns with their moves and battles shown where Poland sees
# them (short move delays, a combat report held for a second) -> Poland's
# new-turn greeting -> Enter -> Esc, pause menu, exit.
#
# Pictures of the computer's moves on the way (ComputerMove) and of its
# combat reports (ComputerPhase_cDialogWynikuWalki) are saved
# (TW_SCREENSHOT_DIR); the first of each is kept as computer_move.png and
# computer_report.png. ConsoleOut.txt must show Germany's turn played in
# full, with a move stepped by the main thread (game state 10), before
# Poland's turn.
#
#   scripts/computer_turn_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "computer turn walk" "$@"

# Poland (6) is the human country.
walk_make_europe_run 6 Poland
# A move is pictured three frames into it: its hexes are paced so that a
# move spans several frames at the shipped frame limit on a slow machine.
cat >>"$run/Settings.ini" <<'INI'
[Delay]
AIMoveBefore=20
AIMoveBetween=150
AIMoveAfter=20
AICombatBefore=100
AICombatAfter=100
AICombatResult=1000
AIDeployBefore=20
AIDeployAfter=20
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
open_fixture_game
await_shot MapScreen_cDialogNowejTury 1 3000 || fail "no new-turn greeting for Poland after the computer's turns"
keep MapScreen_cDialogNowejTury poland_greeting.png
[ "$(shots ComputerMove)" -ge 1 ] || fail "no computer move pictured"
cp "$(ls -tr "$out"/*_ComputerMove.png | head -n1)" "$out/computer_move.png"
if [ "$(shots ComputerPhase_cDialogWynikuWalki)" -ge 1 ]; then
  cp "$(ls -tr "$out"/*_ComputerPhase_cDialogWynikuWalki.png | head -n1)" "$out/computer_report.png"
fi
key Return
await_shot MapScreen 1 || fail "map screen not shown after the greeting"
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut.txt" \
  "[AI] Germany: NEW TURN" \
  "[AI]: Germany ma wojne" \
  "---- Game state = 10" \
  "[AI]: Ending turn" \
  "Alianci. Aktualne panstwo = " \
  "----- Pause Menu -----" || exit 1
echo "computer turn walk ok: $(grep -c '_ComputerMove.png' "$out/game.out") moves and $(grep -c '_ComputerPhase_' "$out/game.out") reports pictured in $out"
