#!/usr/bin/env bash
# Plays the preferences under a virtual X display (1920 x 1080) with xdotool,
# as a person would: main menu -> Preferences: the settings menu with the
# dialog (pictures of its general and audio pages) -> OK, back to the main
# menu -> the test fixture's first turn -> F1: the dialog over the map ->
# the resolution box to its last size, 1920x1080 -> OK: the window takes
# the new size and the map screen is made again for it (a picture) -> Esc,
# the pause menu's Preferences (placed by the 1920 x 1080 layout) -> the
# audio page, the music slider to its lowest -> OK -> Esc, exit.
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

# A control's centre in the layout file of a screen size, as "x y".
centre_in() {
  awk -F';' -v id="$2" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$here/data/GUI_$1.csv"
}
# The middle of a tab's header: the headers stand side by side from the
# tab frame's left edge, each as wide as its caption and 20 pixels. The
# captions' widths at 1024 x 768 (the interface font) scale with the layout.
tab_in() {
  awk -F';' -v id=83 -v tab="$2" -v size="$1" '$1 == id {
    split("71 83 58 50 79 59", width, " ")
    split(size, wh, "x"); s = wh[1] / 1024; if (wh[2] / 768 < s) s = wh[2] / 768
    x = $2; for (i = 1; i < tab; ++i) x += width[i] * s
    print int(x + width[tab] * s / 2), int($3 + 12 * s); exit }' "$here/data/GUI_$1.csv"
}

read -r prefs_x prefs_y < <(centre 72)
await_shot cMainMenu 1 || fail "main menu not shown"
click "$prefs_x" "$prefs_y"
await_shot cSettingsMenu 1 || fail "settings menu not shown"
keep cSettingsMenu preferences_general.png
read -r audio_x audio_y < <(tab_in 1024x768 6)
click "$audio_x" "$audio_y"
move_mouse 20 20
await_shot cSettingsMenu 2 || fail "settings menu not pictured again"
keep cSettingsMenu preferences_audio.png
read -r ok_x ok_y < <(centre 171)
click "$ok_x" "$ok_y"
await_shot cMainMenu 2 || fail "no main menu after the preferences"

start_fixture_game
key F1
await_shot MapScreen_cDialogUstawien 1 || fail "F1 opened no preferences over the map"
keep MapScreen_cDialogUstawien preferences_over_map.png
read -r res_x res_y < <(centre 85)
click "$res_x" "$res_y"
sleep 0.3
for _ in $(seq 1 15); do key Down; done
key Return
sleep 0.3
click "$ok_x" "$ok_y"
await_log "Changing the screen to 1920x1080... OK" 1 || fail "the screen did not change"
move_mouse 900 500
n=$(shots MapScreen)
await_shot MapScreen $((n + 1)) 100 || fail "no map screen after the change"
keep MapScreen map_1920x1080.png

read -r pause_prefs_x pause_prefs_y < <(centre_in 1920x1080 274)
key Escape
await_shot cPauseMenu 1 || fail "pause menu not shown"
keep cPauseMenu pause_1920x1080.png
click "$pause_prefs_x" "$pause_prefs_y"
sleep 1
read -r audio_x audio_y < <(tab_in 1920x1080 6)
click "$audio_x" "$audio_y"
sleep 0.3
read -r music_x music_y < <(centre_in 1920x1080 153)
# The slider's left end: music off.
click $((music_x - 200)) "$music_y"
sleep 0.3
read -r ok_x ok_y < <(centre_in 1920x1080 171)
click "$ok_x" "$ok_y"
await_log "Preferences saved" 3 || fail "the second preferences were not saved"
sleep 1
read -r exit_x exit_y < <(centre_in 1920x1080 276)
key Escape
n=$(shots cPauseMenu)
await_shot cPauseMenu $((n + 1)) || fail "pause menu not shown again"
click "$exit_x" "$exit_y"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the game did not exit"
wait "$pid"
INNER
walk_ended $?

grep -q "^ResolutionX *= *1920" "$run/Settings.ini" && grep -q "^ResolutionY *= *1080" "$run/Settings.ini" ||
  { echo "preferences walk FAILED: the new size is not kept in Settings.ini" >&2; exit 1; }
grep -q "^MusicVolume *= *0" "$run/Settings.ini" ||
  { echo "preferences walk FAILED: the music volume is not kept in Settings.ini" >&2; exit 1; }
check_lines "$out/ConsoleOut.txt" "Detecting resolutions..." "Preferences saved" "Detecting resolutions..." \
  "Changing the screen to 1920x1080... OK" "Preferences saved" || exit 1
echo "preferences walk OK: pictures in $out"
