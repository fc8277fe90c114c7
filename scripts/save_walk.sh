#!/usr/bin/env bash
# Saves the test fixture from the pause menu and loads the save from the
# scenario menu, under a virtual X display with xdotool, as a person would:
# the fixture's first turn -> Esc, pause menu, Save Game -> the save dialog:
# the name box emptied and "Walk save" typed -> Save -> Enter closes the
# message -> Close, back on the map -> pause menu, exit. Then the game again:
# Single Player -> the Saved Games tab -> the save -> settings -> Start -> the
# map of the loaded game -> pause menu, exit. Then copies of the save: one
# edited by hand (a land unit's strength, one byte more or less), and the
# damaged ones: its map removed, its Info.ini without the scenario's name,
# a copy as a game that wrote no list of its files leaves one, its map
# removed, and one whose land units are cut inside a row; a copy of the
# fixture in a folder of its own; and another, mended as a copy should be,
# whose map was cut in half. The game once more -> Single Player -> the
# fixture's copy started from the new games: refused while its Info.ini
# names the fixture, that mended, refused while its event list names the
# fixture's folder -> the copy with the cut map: its loading fails, "Cannot
# start" with the loader's line, back in the list -> the Saved Games tab ->
# the edited copy's Start
# asks whether to load it -> Back, the menu stays -> each damaged copy's
# Start refused with a message that says why (the cut one after the
# question's Load it, naming the file and its row) -> the edited copy's
# Start again -> Load it -> its settings -> Start -> the map of the loaded
# game -> pause menu, exit.
#
# The picture of the save dialog is kept as save_dialog.png (the dialog
# with the new save listed as save_dialog_saved.png), the question of the
# edited copy as changed_question.png, those of the refused starts as
# damaged_<n>.png, copied_scenario_<n>.png and cut_map_scenario.png;
# ConsoleOut.txt of each run
# must hold the expected lines in order.
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

# The third run: the copies, the first five rows of the list (it is sorted
# by name). The hand edit changes the strength of the first land unit to 100
# (or from 100 to 99), so that the file's size is no longer the one the save
# wrote.
saves="$run/data/save"
for copy in "Edited units" "No map" "No scenario" "Older" "Row cut" "Rows lost"; do
  cp -r "$saves/Walk save" "$saves/$copy"
done
units="$saves/Edited units/land_units.csv"
row=$(grep -n -m1 -v '^#' "$units" | cut -d: -f1)
strength=$(sed -n "${row}p" "$units" | cut -d';' -f8)
new_strength=100
[ "$strength" = 100 ] && new_strength=99
sed -i -E "${row}s/^(([^;]*;){7})[0-9]+;/\\1$new_strength;/" "$units"
[ "$(stat -c %s "$saves/Edited units/land_units.csv")" != "$(stat -c %s "$saves/Walk save/land_units.csv")" ] ||
  { echo "the hand edit kept the size of land_units.csv" >&2; exit 1; }
rm "$saves/No map/map.tdw"
sed -i '/^ScenarioName/d' "$saves/No scenario/Info.ini"
rm "$saves/Older/save_complete.txt" "$saves/Older/map.tdw"
# Cut 12 bytes into the first unit's row: the row no longer reads whole.
cut="$saves/Row cut/land_units.csv"
truncate -s $(($(head -n $((row - 1)) "$cut" | wc -c) + 12)) "$cut"
# Cut at a row boundary after the first three units: every row left reads,
# and the list and the question say how many were lost.
lost="$saves/Rows lost/land_units.csv"
saved_rows=$(grep -c -v '^#' "$lost")
head -n $((row + 2)) "$lost" >"$lost.part" && mv "$lost.part" "$lost"
# A copy of the fixture in a folder of its own, as a player begins a
# scenario of his own: its header still names the fixture, and its event
# list, as the copy of a scenario with events keeps it, the fixture's folder.
copied="$run/data/scenarios/Fixture copy"
cp -r "$run/data/scenarios/Fixture" "$copied"
printf 'data/scenarios/Fixture/events/fixture_1939.xml\r\n' >"$copied/event_files.txt"
# A copy mended as a copy should be (its header names its own folder; the
# fixture has no event list), whose map was cut in half: only its loading
# finds that out.
cut_map="$run/data/scenarios/Fixture cut map"
cp -r "$run/data/scenarios/Fixture" "$cut_map"
sed -i 's/^ScenarioName=Fixture/ScenarioName=Fixture cut map/' "$cut_map/Info.ini"
truncate -s $(($(stat -c %s "$cut_map/map.tdw") / 2)) "$cut_map/map.tdw"
walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r tabs_x tabs_y < <(corner 178)
read -r start_x start_y < <(centre 200)
read -r load_x load_y < <(centre 705)
read -r back_x back_y < <(centre 706)
read -r settings_start_x settings_start_y < <(centre 245)
await_shot cMainMenu 1 || fail "main menu not shown"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
row_y() { echo $((list_y + 30 + $1 * 16)); }
# Chooses a row of the list.
choose_row() {
  click $((list_x + 60)) "$(row_y "$1")"
  sleep 0.5
}
# Start on the chosen row is refused: the menu's n-th message, kept as the
# picture, closed with Enter; the game goes on.
#   refused_start N PICTURE WHAT
refused_start() {
  click "$start_x" "$start_y"
  await_shot cScenarioMenu_cDialogTekstowy "$1" 300 || fail "no message for the start of $3"
  keep cScenarioMenu_cDialogTekstowy "$2"
  kill -0 "$pid" || fail "the game ended at the start of $3"
  key Return
  sleep 0.5
}
# The fixture's copy, the second of the new games: refused while its header
# names the fixture; the header mended as the message says, refused while
# its event list names the fixture's folder. The game goes on.
choose_row 1
for refusal in 1 2; do
  refused_start "$refusal" "copied_scenario_$refusal.png" "the copied scenario ($refusal)"
  [ "$refusal" = 1 ] && sed -i 's/^ScenarioName=Fixture/ScenarioName=Fixture copy/' "data/scenarios/Fixture copy/Info.ini"
done
# The copy with the cut map, the third of the new games: its loading ends
# at the map with "Cannot start" and the loader's line, over the list of
# the new games with the copy chosen. The game goes on.
choose_row 2
refused_start 3 cut_map_scenario.png "the copy with the cut map"
click $((tabs_x + 140)) $((tabs_y + 10))
await_log "Loading INI file data\\save\\Walk save\\Info.ini" 1 || fail "the saved games not shown"
# The edited copy: asked about; Back leaves the menu as it was.
choose_row 0
click "$start_x" "$start_y"
await_shot cScenarioMenu_cDialogPotwierdzenia 1 300 || fail "no question for the edited copy"
keep cScenarioMenu_cDialogPotwierdzenia changed_question.png
click "$back_x" "$back_y"
await_log "-- The changed saved game data\\save\\Edited units is not loaded: the player went back" 1 ||
  fail "Back did not keep the edited copy unloaded"
sleep 0.5
# The one loading so far is the copy with the cut map's.
[ "$(log_count "----- Loading -----")" = 1 ] || fail "Back loaded the edited copy"
# The damaged copies: refused.
for row in 1 2 3; do
  choose_row "$row"
  refused_start $((row + 3)) "damaged_$row.png" "row $row"
done
# The copy cut inside a row: changed, so asked about; Load it finds it
# damaged and refuses it. The menu the failed load of row 3 brought back
# lists the same rows.
choose_row 4
click "$start_x" "$start_y"
await_shot cScenarioMenu_cDialogPotwierdzenia 2 300 || fail "no question for the copy cut inside a row"
click "$load_x" "$load_y"
await_shot cScenarioMenu_cDialogTekstowy 7 300 || fail "no message for the copy cut inside a row"
keep cScenarioMenu_cDialogTekstowy damaged_4.png
kill -0 "$pid" || fail "the game ended at the copy cut inside a row"
key Return
sleep 0.5
# The copy cut at a row boundary: the question names the rows it lost;
# Back.
choose_row 5
click "$start_x" "$start_y"
await_shot cScenarioMenu_cDialogPotwierdzenia 3 300 || fail "no question for the copy that lost rows"
keep cScenarioMenu_cDialogPotwierdzenia rows_lost_question.png
click "$back_x" "$back_y"
await_log "-- The changed saved game data\\save\\Rows lost is not loaded: the player went back" 1 ||
  fail "Back did not keep the copy that lost rows unloaded"
sleep 0.5
# The edited copy again: Load it loads it.
choose_row 0
click "$start_x" "$start_y"
await_shot cScenarioMenu_cDialogPotwierdzenia 4 300 || fail "no question for the edited copy the second time"
click "$load_x" "$load_y"
await_shot cScenarioSettingsMenu 1 300 || fail "scenario settings not shown for the edited copy"
click "$settings_start_x" "$settings_start_y"
await_log "---- Game state = 7" 1 150 || fail "the edited copy did not reach a human turn"
sleep 1
key Return
sleep 1
quit_game
INNER
rc=$?
walk_ended "$rc"
check_lines "$out/ConsoleOut.txt" \
  "----- SinglePlayer Menu -----" \
  "ERROR: data\\scenarios\\Fixture copy\\Info.ini: Save/ScenarioName \"Fixture\" is not the scenario's own folder" \
  "-- The scenario data\\scenarios\\Fixture copy names another scenario's folder and is not loaded" \
  "ERROR: data\\scenarios\\Fixture copy\\event_files.txt line 1: event file data/scenarios/Fixture/events/fixture_1939.xml is not inside" \
  "-- The scenario data\\scenarios\\Fixture copy names another scenario's folder and is not loaded" \
  "----- Loading -----" \
  "ERROR: Map file \"data\\scenarios\\Fixture cut map\\map.tdw\" is shorter than its header says" \
  "-- The scenario data\\scenarios\\Fixture cut map cannot be loaded" \
  "----- SinglePlayer Menu -----" \
  "-- The saved game data\\save\\Edited units changed since it was saved (land_units.csv): asking before loading it" \
  "-- The changed saved game data\\save\\Edited units is not loaded: the player went back" \
  "-- The saved game data\\save\\No map is damaged and is not loaded" \
  "-- The saved game data\\save\\No scenario is damaged and is not loaded" \
  "Loading from data\\save\\Older\\map.tdw... FAILED" \
  "-- The saved game data\\save\\Older cannot be loaded" \
  "----- SinglePlayer Menu -----" \
  "-- The player loads the changed saved game data\\save\\Row cut" \
  "ERROR: data\\save\\Row cut\\land_units.csv line $row: " \
  "the saved game is damaged" \
  "-- The saved game data\\save\\Row cut cannot be loaded" \
  "----- SinglePlayer Menu -----" \
  "-- The saved game data\\save\\Rows lost changed since it was saved (land_units.csv: 3 of $saved_rows rows): asking before loading it" \
  "-- The changed saved game data\\save\\Rows lost is not loaded: the player went back" \
  "-- The saved game data\\save\\Edited units changed since it was saved (land_units.csv): asking before loading it" \
  "-- The player loads the changed saved game data\\save\\Edited units" \
  "----- Loading -----" \
  "-- Loading new scenario done!" \
  "---- Game state = 7" \
  "----- Pause Menu -----" || exit 1
echo "save walk ok: pictures in $out"
