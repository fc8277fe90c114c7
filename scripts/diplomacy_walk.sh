#!/usr/bin/env bash
# Diplomacy on the test fixture under a virtual X display with xdotool, as a
# person would. Westland (given diplomacy points and the pressure constants
# in a copy of the fixture) plays first: the minimap recentres the view on
# Neutralia -> a click on one of its hexes -> the panel's handle on the
# information bar shows the diplomacy panel -> Pressure: the result message
# -> Enter -> the panel once more -> the handle hides it -> Q, Enter: the
# turn ends. Neutralia (made human in the copy) plays next: Tab selects its
# militia -> the handle -> Elections: the choice dialog -> the random button:
# the result -> Enter -> Esc, pause menu, exit.
#
# Pictures of the panel, the pressure's result, the elections dialog and its
# result are kept; ConsoleOut.txt must hold the expected lines in order.
#
#   scripts/diplomacy_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "diplomacy walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
# Neutralia (4) is human too; Westland (1) has 100 diplomacy points.
sed -i -e 's/^\(4;1;Neutralia;\([^;]*;\)\{10\}\)0;/\11;/' \
       -e 's/^\(1;1;Westland;\([^;]*;\)\{19\}\)10;/\1100;/' "$fixture/countries.csv"
# Pressure: one die of 10 plus 5; the chance and cost factors.
sed -i -e 's/^DiplomacyFactors113;.*/DiplomacyFactors113;1;10;5;0.5;0.8;2/' "$fixture/consts.csv"
grep -q "^4;1;Neutralia;\([^;]*;\)\{10\}1;" "$fixture/countries.csv" &&
  grep -q "^1;1;Westland;\([^;]*;\)\{19\}100;" "$fixture/countries.csv" &&
  grep -q "^DiplomacyFactors113;1;10;5;" "$fixture/consts.csv" ||
  { echo "diplomacy walk: fixture not prepared" >&2; exit 1; }

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r pressure_x pressure_y < <(centre 603)
read -r elections_x elections_y < <(centre 607)
read -r random_x random_y < <(centre 937)
read -r minimap_x minimap_y < <(corner 315)
read -r handle_x handle_y < <(centre 600)
views() { grep -c "^map view" "$out/game.out"; }

start_fixture_game
# Neutralia lies in the south-west: a click on the minimap there.
m=$(views)
click $((minimap_x + 40)) $((minimap_y + 114))
await_count views x $((m + 1)) || fail "the view did not settle on Neutralia"
sleep 0.5
read -r hex_x hex_y < <(hex 3 11)
n=$(shots MapScreen)
click "$hex_x" "$hex_y"
await_shot MapScreen $((n + 1)) || fail "the hex of Neutralia not selected"
click "$handle_x" "$handle_y"
sleep 0.5
click "$pressure_x" "$pressure_y"
await_log "Player action: Diplomacy / Exert pressure / Westland on Neutralia" 1 || fail "no pressure"
await_shot MapScreen_cDialogTekstowy 1 || fail "no result of the pressure"
keep MapScreen_cDialogTekstowy diplomacy_pressure_result.png
n=$(shots MapScreen)
key Return
await_shot MapScreen $((n + 1)) || fail "the map not shown again after the result"
keep MapScreen diplomacy_panel_neutral.png
click "$handle_x" "$handle_y"
sleep 0.3
cp ConsoleOut.txt "$out/ConsoleOut_westland.txt"

key q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
key Return
await_shot MapScreen_cDialogNowejTury 2 600 || fail "no new-turn greeting for Neutralia"
key Return
sleep 0.5
n=$(shots MapScreen_range)
key Tab
await_shot MapScreen_range $((n + 1)) || fail "Tab selected no unit of Neutralia"
sleep 1.5
click "$handle_x" "$handle_y"
sleep 0.5
click "$elections_x" "$elections_y"
await_shot MapScreen_cDialogWyborow 1 || fail "no elections dialog"
keep MapScreen_cDialogWyborow elections_dialog.png
click "$random_x" "$random_y"
await_log "Player action: Diplomacy / orientation " 1 || fail "no orientation chosen"
await_shot MapScreen_cDialogTekstowy 2 || fail "no result of the elections"
keep MapScreen_cDialogTekstowy elections_result.png
key Return
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut_westland.txt" \
  "---- Game state = 7" \
  "Player action: Diplomacy / Exert pressure / Westland on Neutralia" || exit 1
check_lines "$out/ConsoleOut.txt" \
  "Player action: Diplomacy / Elections / Neutralia on Neutralia" \
  "Player action: Diplomacy / orientation " \
  "----- Pause Menu -----" || exit 1
echo "diplomacy walk ok: pictures in $out"
