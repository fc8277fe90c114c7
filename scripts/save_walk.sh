#!/usr/bin/env bash
# Saves the test fixture from the pause menu and loads the save from the
# scenario menu, under a virtual X display with xdotool, as a person would:
# the fixture's first turn -> Esc, pause menu, Save Game -> the save dialog:
# the name box emptied and "Walk save" typed -> Save -> Enter closes the
# message -> Close, back on the map -> pause menu, exit. Then the game again:
# Single Player -> the Saved Games tab -> the save -> settings -> Start -> the
# map of the loaded game -> pause menu, exit. Then damaged copies of the
# save: its map removed, its land units cut short, its Info.ini without the
# scenario's name, and a copy as a game that wrote no list of its files
# leaves one, its map removed: the game once more -> Single Player -> the
# Saved Games tab -> each copy's Start refused with a message that says why
# -> Esc, the main menu -> Exit.
#
# The picture of the save dialog is kept as save_dialog.png (the dialog
# with the new save listed as save_dialog_saved.png), those of the refused
# starts as damaged_<n>.png; ConsoleOut.txt of each run must hold the
# expected lines in order.
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
cp "$out/ConsoleOut.txt" "$out/ConsoleOut_load.txt"

# The third run: the damaged copies, the first four rows of the list (it is
# sorted by name).
saves="$run/data/save"
for copy in "Cut units" "No map" "No scenario" "Older"; do cp -r "$saves/Walk save" "$saves/$copy"; done
rm "$saves/No map/map.tdw"
size=$(stat -c %s "$saves/Cut units/land_units.csv")
truncate -s $((size / 2)) "$saves/Cut units/land_units.csv"
sed -i '/^ScenarioName/d' "$saves/No scenario/Info.ini"
rm "$saves/Older/save_complete.txt" "$saves/Older/map.tdw"
walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r single_x single_y < <(centre 71)
read -r exit_x exit_y < <(centre 74)
read -r list_x list_y < <(corner 179)
read -r tabs_x tabs_y < <(corner 178)
read -r start_x start_y < <(centre 200)
await_shot cMainMenu 1 || fail "main menu not shown"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
click $((tabs_x + 140)) $((tabs_y + 10))
await_log "Loading INI file data\\save\\Walk save\\Info.ini" 1 || fail "the saved games not shown"
for row in 0 1 2 3; do
  click $((list_x + 60)) $((list_y + 30 + row * 16))
  sleep 0.5
  click "$start_x" "$start_y"
  await_shot cScenarioMenu_cDialogTekstowy $((row + 1)) 300 || fail "no message for the start of row $row"
  keep cScenarioMenu_cDialogTekstowy "damaged_$row.png"
  kill -0 "$pid" || fail "the game ended at the start of row $row"
  key Return
  sleep 0.5
done
key Escape
await_shot cMainMenu 2 || fail "main menu not shown after the damaged saves"
click "$exit_x" "$exit_y"
await_exit
INNER
rc=$?
walk_ended "$rc"
check_lines "$out/ConsoleOut.txt" \
  "----- SinglePlayer Menu -----" \
  "-- The saved game data\\save\\Cut units is damaged and is not loaded" \
  "-- The saved game data\\save\\No map is damaged and is not loaded" \
  "-- The saved game data\\save\\No scenario is damaged and is not loaded" \
  "Loading from data\\save\\Older\\map.tdw... FAILED" \
  "-- The saved game data\\save\\Older\\%s cannot be loaded" \
  "----- SinglePlayer Menu -----" \
  "----- Main Menu -----" || exit 1
echo "save walk ok: pictures in $out"
