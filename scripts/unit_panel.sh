#!/usr/bin/env bash
# Plays the unit panel's orders on the test fixture under a virtual X display
# with xdotool, as a person would: the map screen after the computer
# countries have moved -> the new-turn greeting (Enter) -> the unit panel
# shown by its handle -> a click on the armoured division: the panel shows
# it -> its upgrade icon: it becomes a corps -> a click on the weakened
# infantry -> its commander icon: the commanders dialog -> its commander
# recalled, the best free one assigned -> Esc -> its replacements icon: the dialog -> M and
# Enter: strength bought -> a click on the bomber: the panel shows the air unit -> its
# bombardment icon: the targets are marked -> a click on the enemy: the
# strike and its report -> Enter -> a click on the strait: no unit -> Esc,
# pause menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with its units placed for the orders (Westland's infantry on
# (8, 7) at strength 60, its armour on (5, 7), its aircraft, made a tactical
# bomber, on (5, 6); Eastmark's guard on (8, 6)), Westland's production
# points raised to 900 and the rule constants of Europe 1939. Pictures of the
# panel for each unit, of the replacements dialog and of the strike's report
# are kept (TW_SCREENSHOT_DIR); ConsoleOut.txt must hold the expected lines
# in order.
#
#   scripts/unit_panel.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "unit panel" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
sed -i -e 's/^1;1st Infantry;1;3;5;0;2;100;/1;1st Infantry;1;8;7;0;2;60;/' \
       -e "s/^2;2nd Armoured;1;6;4;/2;2nd Armoured;1;5;7;/" \
       -e 's/^6;Eastmark Guard;2;13;4;/6;Eastmark Guard;2;8;6;/' "$fixture/land_units.csv"
sed -i -e 's/^1;Westland Fighters;1;5;6;20;/1;Westland Bombers;1;5;6;21;/' "$fixture/air_units.csv"
printf '\r\n6;Gen. Fairfax;1;0;4;2;0;\r\n7;Gen. Greaves;1;0;2;6;0;\r\n' >>"$fixture/commanders.csv"
sed -i -e 's/^\(1;1;Westland;\([^;]*;\)\{18\}\)101.000000;/\1900.000000;/' "$fixture/countries.csv"
grep -q "^6;Eastmark Guard;2;8;6;" "$fixture/land_units.csv" &&
  grep -q "^1;1st Infantry;1;8;7;0;2;60;" "$fixture/land_units.csv" &&
  grep -q "^1;Westland Bombers;1;5;6;21;" "$fixture/air_units.csv" &&
  grep -q "^1;1;Westland;.*;900.000000;" "$fixture/countries.csv" ||
  { echo "unit panel: fixture not prepared" >&2; exit 1; }
freeze_land_units "$fixture/land_units.csv" 2 3 4
cp "$here/data/scenarios/Europe1939/consts.csv" "$fixture/consts.csv"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
HumanCombatResult=60000
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r unit_handle_x unit_handle_y < <(centre 350)
read -r upgrade_x upgrade_y < <(centre 361)
read -r replace_x replace_y < <(centre 375)
read -r bombard_x bombard_y < <(centre 387)
read -r commander_x commander_y < <(centre 372)
read -r assign_x assign_y < <(centre 870)
read -r recall_x recall_y < <(centre 865)

start_fixture_game
click "$unit_handle_x" "$unit_handle_y"
sleep 0.2
read -r armour_x armour_y < <(hex 5 7)
read -r infantry_x infantry_y < <(hex 8 7)
read -r bomber_x bomber_y < <(hex 5 6)
read -r enemy_x enemy_y < <(hex 8 6)
read -r empty_x empty_y < <(hex 3 8)
read -r sea_x sea_y < <(hex 9 6)

# The armoured division, then its upgrade to a corps.
n=$(shots MapScreen_range)
click "$armour_x" "$armour_y"
await_shot MapScreen_range $((n + 1)) || fail "the armour not selected"
keep MapScreen_range panel_land_division.png
click "$upgrade_x" "$upgrade_y"
await_log "Player action: Upgrade to corps / 2nd Armoured" 1 || fail "no upgrade"
click "$empty_x" "$empty_y"
sleep 0.5
n=$(shots MapScreen_range)
click "$armour_x" "$armour_y"
await_shot MapScreen_range $((n + 1)) || fail "the armour not selected again"
keep MapScreen_range panel_land.png

# The weakened infantry: a commander of its own, then its replacements.
click "$infantry_x" "$infantry_y"
sleep 0.5
click "$commander_x" "$commander_y"
await_shot MapScreen_cDialogDowodcow 1 || fail "no commanders dialog"
keep MapScreen_cDialogDowodcow commanders_dialog.png
click "$recall_x" "$recall_y"
await_log "Player action: Commander recalled / Gen. Ashford from 1st Infantry" 1 || fail "no commander recalled"
sleep 0.3
click "$assign_x" "$assign_y"
await_log "Player action: Commander / Gen. Fairfax to 1st Infantry" 1 || fail "no commander assigned"
sleep 0.3
key Escape
sleep 0.5
click "$replace_x" "$replace_y"
await_shot MapScreen_cDialogUzupelnien 1 || fail "no replacements dialog"
keep MapScreen_cDialogUzupelnien replacements_dialog.png
key m
sleep 0.3
key Return
await_log "Player action: Replacements / 1st Infantry +" 1 || fail "no replacements bought"
sleep 0.5

# The bomber, its bombardment of the enemy next to the infantry.
n=$(shots MapScreen_range)
click "$bomber_x" "$bomber_y"
await_shot MapScreen_range $((n + 1)) || fail "the bomber not selected"
keep MapScreen_range panel_air.png
n=$(shots MapScreen_range)
click "$bombard_x" "$bombard_y"
await_shot MapScreen_range $((n + 1)) || fail "no bombardment targets marked"
keep MapScreen_range bombard_targets.png
click "$enemy_x" "$enemy_y"
await_log "Player action: Air bombardment / Westland Bombers on (8, 6)" 1 || fail "no bombardment"
await_shot MapScreen_cDialogWynikuWalki 1 || fail "no report of the strike"
keep MapScreen_cDialogWynikuWalki bombardment_result.png
key Return
sleep 0.5

# A hex of the strait: ships never stand on a hex, the panel shows no unit.
n=$(shots MapScreen)
click "$sea_x" "$sea_y"
await_shot MapScreen $((n + 1)) || fail "the strait not selected"
keep MapScreen panel_sea.png

quit_game
INNER
rc=$?
walk_ended "$rc"

# The log is UTF-16LE; the expected lines must appear in this order.
check_lines "$out/ConsoleOut.txt" \
  "==== AI THREAD FINISHED =====" \
  "---- Game state = 7" \
  "Player action: Upgrade to corps / 2nd Armoured" \
  "Player action: Commander recalled / Gen. Ashford from 1st Infantry" \
  "Player action: Commander / Gen. Fairfax to 1st Infantry" \
  "Player action: Replacements / 1st Infantry +" \
  "Player action: Air bombardment / Westland Bombers on (8, 6)" \
  "----- Pause Menu -----" || exit 1
echo "unit panel ok: pictures in $out"
