#!/usr/bin/env bash
# Plays the preferences under a virtual X display (1920 x 1080) with xdotool,
# as a person would: main menu -> Preferences: the settings menu with the
# dialog (a picture) -> OK, back to the main menu -> the test fixture's
# first turn -> F1: the dialog over the map -> the resolution box to its
# last size, 1920x1080 -> OK: the window takes the new size and the map
# screen is made again for it (a picture) -> F1 again (a picture): the
# audio page, the music slider to its lowest -> OK -> Esc, the pause menu's
# Preferences (placed by the 1920 x 1080 layout) -> OK -> Esc, exit.
#
# Settings.ini must keep the new size and volume; ConsoleOut.txt must hold
# the expected lines in order.
#
#   scripts/preferences_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "preferences walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"
walk_screen=1920x1080

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"

grep_shots() { grep -c "$1" "$out/game.out"; }
# A control's centre in the layout file of a screen size, as "x y".
centre_in() {
  awk -F';' -v id="$2" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$here/data/GUI_$1.csv"
}
# The middle of the audio tab's header, the last of six standing side by
# side from the tab frame's left edge, each as wide as its caption (in the
# interface font of the size) and 20 pixels.
audio_tab_in() {
  local offset
  case "$1" in 1024x768) offset=360 ;; 1920x1080) offset=460 ;; *) fail "no tab offset for $1" ;; esac
  awk -F';' -v id=83 -v dx="$offset" '$1 == id { print int($2 + dx), int($3 + 14); exit }' "$here/data/GUI_$1.csv"
}

read -r prefs_x prefs_y < <(centre 72)
await_shot cMainMenu 1 || fail "main menu not shown"
click "$prefs_x" "$prefs_y"
await_shot cSettingsMenu 1 || fail "settings menu not shown"
keep cSettingsMenu preferences_settings_menu.png
read -r ok_x ok_y < <(centre 171)
click "$ok_x" "$ok_y"
await_shot cMainMenu 2 || fail "no main menu after the preferences"

start_fixture_game
key F1
await_shot MapScreen_cDialogUstawien 1 || fail "F1 opened no preferences over the map"
keep MapScreen_cDialogUstawien preferences_over_map.png
read -r res_x res_y < <(centre 85)
# Opened and closed, the box keeps the focus; the wheel then steps through
# its sizes to the last.
click "$res_x" "$res_y"
sleep 0.3
click "$res_x" "$res_y"
sleep 0.3
for _ in $(seq 1 15); do xdotool click --window "$win" 5; sleep 0.05; done
sleep 0.3
click "$ok_x" "$ok_y"
await_log "Changing the screen to 1920x1080... OK" 1 || fail "the screen did not change"
# The next picture is the map screen at the new size (the selection of
# the walk's first turn still shown).
n=$(grep -c "^screenshot" "$out/game.out")
await_count grep_shots "^screenshot" $((n + 1)) || fail "no map screen after the change"
cp "$(grep "^screenshot" "$out/game.out" | tail -n1 | cut -d' ' -f2)" "$out/map_1920x1080.png"

# Again at the new size (a picture): the audio page, the music slider to its
# lowest.
n=$(shots MapScreen_cDialogUstawien)
key F1
await_shot MapScreen_cDialogUstawien $((n + 1)) || fail "F1 opened no preferences at 1920x1080"
keep MapScreen_cDialogUstawien preferences_1920x1080.png
read -r audio_x audio_y < <(audio_tab_in 1920x1080)
click "$audio_x" "$audio_y"
sleep 0.3
read -r music_x music_y < <(centre_in 1920x1080 153)
read -r music_w < <(awk -F';' '$1 == 153 { print $4; exit }' "$here/data/GUI_1920x1080.csv")
# The thumb stands at the right end (full volume): dragged to the left end.
move_mouse $((music_x + music_w / 2 - 6)) "$music_y"
xdotool mousedown --window "$win" 1
sleep 0.2
move_mouse $((music_x - music_w / 2 - 20)) "$music_y"
sleep 0.2
xdotool mouseup --window "$win" 1
sleep 0.3
read -r ok_x ok_y < <(centre_in 1920x1080 171)
click "$ok_x" "$ok_y"
await_log "Preferences saved" 3 || fail "the music volume was not saved"

# The pause menu's way to the same dialog.
read -r pause_prefs_x pause_prefs_y < <(centre_in 1920x1080 274)
sleep 0.5
key Escape
await_shot cPauseMenu 1 || fail "pause menu not shown"
keep cPauseMenu pause_1920x1080.png
click "$pause_prefs_x" "$pause_prefs_y"
sleep 1
click "$ok_x" "$ok_y"
await_log "Preferences saved" 4 || fail "the pause menu's preferences were not saved"
sleep 0.5
read -r exit_x exit_y < <(centre_in 1920x1080 276)
key Escape
await_shot cPauseMenu 2 || fail "pause menu not shown again"
click "$exit_x" "$exit_y"
await_exit
INNER
walk_ended $?

grep -q "^ResolutionX *= *1920" "$run/Settings.ini" && grep -q "^ResolutionY *= *1080" "$run/Settings.ini" ||
  { echo "preferences walk FAILED: the new size is not kept in Settings.ini" >&2; exit 1; }
grep -q "^MusicVolume *= *0" "$run/Settings.ini" ||
  { echo "preferences walk FAILED: the music volume is not kept in Settings.ini" >&2; exit 1; }
check_lines "$out/ConsoleOut.txt" "Detecting resolutions..." "Preferences saved" "Detecting resolutions..." \
  "Changing the screen to 1920x1080... OK" "Detecting resolutions..." "Preferences saved" \
  "Detecting resolutions..." "Preferences saved" || exit 1
echo "preferences walk OK: pictures in $out"
