#!/usr/bin/env bash
# Saves the test fixture from the pause menu and loads the save from the
# scenario menu, under a virtual X display with xdotool, as a person would:
# the fixture's first turn -> Esc, pause menu, Save Game -> the save dialog:
# the name box emptied and "Walk save" typed -> Save -> Enter closes the
# message -> Close, back on the map -> pause menu, exit. Then the game again:
# Single Player -> the Saved Games tab -> the save -> settings -> Start -> the
# map of the loaded game -> pause menu, exit.
#
# The picture of the save dialog is kept as save_dialog.png (the dialog
# with the new save listed as save_dialog_saved.png); ConsoleOut.txt of each
# run must hold the expected lines in order.
#
#   scripts/save_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "save walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
start_fixture_game
read -r save_x save_y < <(centre 273)
read -r name_x name_y < <(centre 256)
read -r store_x store_y < <(centre 258)
read -r close_x close_y < <(centre 257)
key Escape
await_shot cPauseMenu 1 || fail "pause menu not shown"
click "$save_x" "$save_y"
await_shot MapScreen_cDialogZapisuGry 1 || fail "no save dialog"
keep MapScreen_cDialogZapisuGry save_dialog.png
click "$name_x" "$name_y"
key End
for _ in $(seq 1 30); do key BackSpace; done
xdotool type --window "$win" --delay 40 "Walk save"
click "$store_x" "$store_y"
await_shot MapScreen_cDialogTekstowy 1 || fail "no message after saving"
[ -f "$run/data/save/Walk save/Info.ini" ] || fail "no save written"
key Return
await_shot MapScreen_cDialogZapisuGry 2 || fail "the save dialog did not come back"
keep MapScreen_cDialogZapisuGry save_dialog_saved.png
click "$close_x" "$close_y"
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"
check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 7" \
  "----- Pause Menu -----" \
  "Opening file for writing..." \
  "----- Pause Menu -----" || exit 1
cp "$out/ConsoleOut.txt" "$out/ConsoleOut_save.txt"

# The second run loads the save.
walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r tabs_x tabs_y < <(corner 178)
read -r start_x start_y < <(centre 200)
read -r settings_start_x settings_start_y < <(centre 245)
await_shot cMainMenu 1 || fail "main menu not shown"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
# The second tab's header: right of "New Game".
click $((tabs_x + 140)) $((tabs_y + 10))
await_log "Loading INI file data\\save\\Walk save\\Info.ini" 1 || fail "the saved games not shown"
click $((list_x + 60)) $((list_y + 12))
sleep 0.5
click "$start_x" "$start_y"
await_shot cScenarioSettingsMenu 1 || fail "scenario settings not shown for the save"
click "$settings_start_x" "$settings_start_y"
await_log "---- Game state = 7" 1 150 || fail "the loaded game did not reach a human turn"
sleep 1
key Return
sleep 1
quit_game
INNER
rc=$?
walk_ended "$rc"
check_lines "$out/ConsoleOut.txt" \
  "----- SinglePlayer Menu -----" \
  "Loading INI file data\\save\\Walk save\\Info.ini" \
  "-- Loading new scenario done!" \
  "---- Game state = 7" \
  "----- Pause Menu -----" || exit 1
echo "save walk ok: pictures in $out"
