#!/usr/bin/env bash
# Runs the real game under a virtual X display and plays it with xdotool as
# a person would: intro movies (Esc) -> logos (a key) -> main menu -> single
# player -> scenario menu -> back (Esc) -> single player again -> the test
# scenario (double click) -> loading screen -> scenario settings -> back
# (Esc: the zoom setting stays the player's 60) -> the scenario again ->
# scenario settings (one country made human) -> start -> the map screen,
# scrolled with the arrow keys and zoomed with the wheel (the zoom setting
# follows) -> pause menu (Esc) -> exit. The game runs
# in a folder of its own whose only scenario is the test fixture. The
# program saves a picture of every menu and of the map screen at each zoom
# (TW_SCREENSHOT_DIR) and prints how long it took from its start to the
# first drawn main-menu frame; afterwards ConsoleOut.txt must hold the
# expected lines in order.
#
#   scripts/menu_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "menu walk" "$@"

# A run folder of its own: the game's data with the fixture as the only
# scenario, the built language base and fresh settings.
walk_make_run
ln -s "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"

walk_play <<'INNER'
set -u
fail_prefix=""  # the menu walk's messages carry no name
source "$1"
walk_start "${@:2}"
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r countries_x countries_y < <(corner 216)
read -r human_x human_y < <(corner 225)
read -r start_x start_y < <(centre 245)
# The first entry of the scenario list; the second row of the countries
# list ("Neutralia", sorted by name) joins Westland, the fixture's human
# country; both move after the computer countries of the Axis.
entry_x=$((list_x + 60)); entry_y=$((list_y + 12))
country_x=$((countries_x + 60)); country_y=$((countries_y + 46))
human_x=$((human_x + 12)); human_y=$((human_y + 13))

await_shot cMainMenu 1 || fail "main menu not shown"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
key Escape
await_shot cMainMenu 2 || fail "main menu not shown again"
click "$single_x" "$single_y"
await_shot cScenarioMenu 2 || fail "scenario menu not shown again"
# The zoom a game opens at, as Settings.ini keeps it.
zoom_setting() { tr -d '\r ' <"$run/Settings.ini" | sed -n 's/^Zoom=//p'; }
double_click "$entry_x" "$entry_y"
await_shot cScenarioSettingsMenu 1 || fail "scenario settings not shown"
# Back throws the loaded world away: the map it fitted to the screen is no
# zoom of the player's.
key Escape
await_shot cScenarioMenu 3 || fail "scenario menu not shown after the settings"
[ "$(zoom_setting)" = 60 ] || fail "the zoom setting is $(zoom_setting) after Back from the settings, not 60"
double_click "$entry_x" "$entry_y"
await_shot cScenarioSettingsMenu 2 || fail "scenario settings not shown again"
click "$country_x" "$country_y"
sleep 0.3
click "$human_x" "$human_y"
sleep 0.3
click "$start_x" "$start_y"
# The country whose turn begins is greeted; Enter dismisses the greeting.
await_shot MapScreen_cDialogNowejTury 1 || fail "new-turn greeting not shown"
key Return
await_shot MapScreen 1 || fail "map screen not shown"
# Scroll: hold two arrow keys a moment; zoom: one wheel step out.
move_mouse 400 400
xdotool keydown --window "$win" Right Down
sleep 0.6
xdotool keyup --window "$win" Right Down
xdotool click --window "$win" 5
await_shot MapScreen 2 || fail "map screen not shown at the new zoom"
quit_game 50
status=$?
# The player zoomed: the next game opens at the zoom the step reached
# (the fixture's small map has none at exactly 60 per cent).
zoom="$(zoom_setting)"
[ -n "$zoom" ] && [ "$zoom" != 60 ] || fail "the zoom setting is \"$zoom\" after the player's zoom step"
exit "$status"
INNER
rc=$?
cat "$out/game.out" 2>/dev/null | grep -E "first main-menu frame|screenshot" || true
walk_ended "$rc"

# The log is UTF-16LE; the expected lines must appear in this order.
expected=(
  "Running Tidewrack v1.01"
  "Loading intro movie from dataintro.avi"
  "Loading intro movie from dataintro2.avi"
  "Loading intro movie from dataintro3.avi"
  "-- Setting callbacks"
  "----- Main Menu -----"
  "-- Deleting old menu"
  "-- Setting callbacks"
  "----- SinglePlayer Menu -----"
  "-- Deleting old menu"
  "-- Setting callbacks"
  "----- Main Menu -----"
  "----- SinglePlayer Menu -----"
  "----- Loading -----"
  " Progress = 5%"
  " Progress = 50%"
  " Progress = 100%"
  "-- Loading new scenario done!"
  "---- Game state = 1"
  "Creating next menu"
  "----- Scenario Settings Menu -----"
  "============== Starting game =============="
  "============== Enjoy your game :)"
  "---- Game state = 9"
  "==== STARTING AI THREAD ====="
  "==== AI THREAD FINISHED ====="
  "---- Game state = 7"
  "----- Pause Menu -----"
  "---- Game state = 2"
  "---- Game state = 15"
)
check_lines "$out/ConsoleOut.txt" "${expected[@]}" || exit 1
echo "menu walk ok: pictures in $out"
