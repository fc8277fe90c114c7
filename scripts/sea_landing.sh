#!/usr/bin/env bash
# Plays a landing from the sea under a virtual X display with xdotool, as a
# person would: the fixture's first turn -> the unit panel (its handle) -> a
# click on Westland's 1st Infantry beside Westport -> the panel's amphibious
# loading icon: the unit goes aboard a new landing ship in a new fleet at
# Westport -> a click on the port's water: the fleets dialog of Westport ->
# its move button and a click on the North Sea: the fleet sails there and
# the dialog closes -> a click on the North Sea: its fleets dialog -> the
# new fleet's row, the unload button: the dialog hides and Eastmark's coast
# on the North Sea is marked -> a click on a marked beach: the unit lands
# unopposed and the landing's report comes up -> Enter, Esc -> Esc, pause
# menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with the 1st Infantry on (5, 2), beside Westport, Westport's ships
# shown on the water in front of it (4, 1) and (5, 1) instead of on the
# city, so that its fleets dialog opens with a click on the sea, and the rule
# constants of Europe 1939. Pictures of the unit panel, the dialogs, the
# unload marks and the landing's report are kept (TW_SCREENSHOT_DIR);
# ConsoleOut.txt must hold the expected lines in order.
#
#   scripts/sea_landing.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "sea landing" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
sed -i -e 's/^1;1st Infantry;1;3;5;/1;1st Infantry;1;5;2;/' "$fixture/land_units.csv"
sed -i -e 's/^3;Westport;3;3;4;2;4;2;4;2;/3;Westport;3;3;4;2;4;1;5;1;/' "$fixture/sea_nodes.csv"
grep -q "^1;1st Infantry;1;5;2;" "$fixture/land_units.csv" &&
  grep -q "^3;Westport;3;3;4;2;4;1;5;1;" "$fixture/sea_nodes.csv" ||
  { echo "sea landing: fixture not prepared" >&2; exit 1; }
cp "$here/data/scenarios/Europe1939/consts.csv" "$fixture/consts.csv"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r unit_handle_x unit_handle_y < <(centre 350)
read -r amphibious_x amphibious_y < <(centre 384)
read -r move_x move_y < <(centre 557)
read -r unload_x unload_y < <(centre 572)
read -r list_x list_y < <(corner 555)

start_fixture_game
click "$unit_handle_x" "$unit_handle_y"
sleep 0.2
read -r infantry_x infantry_y < <(hex 5 2)
read -r port_x port_y < <(hex 4 1)
read -r north_x north_y < <(hex 8 1)
read -r north_main_x north_main_y < <(hex 9 0)
read -r beach_x beach_y < <(hex 12 2)
read -r strait_x strait_y < <(hex 9 6)

# The infantry beside the port (Tab chose it; a click on the Strait, where
# Westland has no fleet, lets go of it first): the panel with its loading
# icons.
n=$(shots MapScreen)
click "$strait_x" "$strait_y"
await_shot MapScreen $((n + 1)) || fail "the Strait not selected"
n=$(shots MapScreen_range)
click "$infantry_x" "$infantry_y"
await_shot MapScreen_range $((n + 1)) || fail "the infantry not selected"
keep MapScreen_range panel_loading.png
click "$amphibious_x" "$amphibious_y"
await_log "Player action: Load onto amphibious ship / 1st Infantry" 1 || fail "the infantry did not go aboard"
sleep 0.5

# Westport's water: the port's fleets dialog with the landing ship.
n=$(shots MapScreen_cDialogFlot)
click "$port_x" "$port_y"
await_shot MapScreen_cDialogFlot $((n + 1)) || fail "no fleets dialog in Westport"
keep MapScreen_cDialogFlot landing_fleet_in_port.png
n=$(shots MapScreen_range)
click "$move_x" "$move_y"
await_shot MapScreen_range $((n + 1)) || fail "no reachable sea areas marked"
click "$north_main_x" "$north_main_y"
await_log "Player action: Fleet move / Fleet #4 from 3 to 1" 1 || fail "the landing fleet did not sail"
sleep 1

# The North Sea: the Home Fleet and, in the second row, the landing fleet.
n=$(shots MapScreen_cDialogFlot)
click "$north_x" "$north_y"
await_shot MapScreen_cDialogFlot $((n + 1)) || fail "no fleets dialog in the North Sea"
keep MapScreen_cDialogFlot landing_fleet_at_sea.png
click $((list_x + 60)) $((list_y + 46))
sleep 0.5

# Unload: the beaches marked, one clicked, the landing's report.
n=$(shots MapScreen_range)
click "$unload_x" "$unload_y"
await_shot MapScreen_range $((n + 1)) || fail "no beaches marked"
keep MapScreen_range unload_marks.png
click "$beach_x" "$beach_y"
await_log "Player action: Unload / Landing task force #7 on (12, 2)" 1 || fail "no unloading"
await_shot MapScreen_cDialogTekstowy 1 || fail "no report of the landing"
keep MapScreen_cDialogTekstowy landing_report.png
key Return
sleep 0.5
key Escape
sleep 0.5

quit_game
INNER
rc=$?
walk_ended "$rc"

# The log is UTF-16LE; the expected lines must appear in this order.
check_lines "$out/ConsoleOut.txt" \
  "==== AI THREAD FINISHED =====" \
  "---- Game state = 7" \
  "Loading unit: new fleet will be created" \
  "Player action: Load onto amphibious ship / 1st Infantry" \
  "Player action: Fleet move / Fleet #4 from 3 to 1" \
  "Fleet Fleet #4 going: node 3 -> 1, movement finished." \
  "Player action: Unload / Landing task force #7 on (12, 2)" \
  "Killing naval unit Landing task force #7" \
  "----- Pause Menu -----" || exit 1
echo "sea landing ok: pictures in $out"
