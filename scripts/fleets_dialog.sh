#!/usr/bin/env bash
# Plays the fleets dialog on the test fixture under a virtual X display with
# xdotool, as a person would: the map screen after the computer countries
# have moved -> the new-turn greeting (Enter) -> a click on the North Sea,
# where Westland's Home Fleet stands: the fleets dialog opens over the map
# -> its move button: the dialog hides and the reachable sea areas are
# marked -> a click on the Strait: the fleet sails there and, with no fleet
# of Westland left in the North Sea, the dialog closes -> a click on the
# Strait: the dialog of the Strait shows the fleet -> Esc closes it -> Esc,
# pause menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with Westland's infantry placed on (8, 2), by the North Sea, so
# that Tab brings the view there, and the rule constants of Europe 1939.
# Pictures of the dialog over the map and of the marked sea areas are kept
# (TW_SCREENSHOT_DIR); ConsoleOut.txt must hold the expected lines in order.
#
#   scripts/fleets_dialog.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "fleets dialog" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
sed -i -e 's/^1;1st Infantry;1;3;5;/1;1st Infantry;1;8;2;/' "$fixture/land_units.csv"
grep -q "^1;1st Infantry;1;8;2;" "$fixture/land_units.csv" || { echo "fleets dialog: fixture not prepared" >&2; exit 1; }
cp "$here/data/scenarios/Europe1939/consts.csv" "$fixture/consts.csv"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
HumanReconAfter=200
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r move_x move_y < <(centre 557)

start_fixture_game
read -r north_x north_y < <(hex 8 1)
read -r strait_x strait_y < <(hex 9 5)

# The North Sea: the fleets dialog over the map.
click "$north_x" "$north_y"
await_shot MapScreen_cDialogFlot 1 || fail "no fleets dialog"
keep MapScreen_cDialogFlot fleets_dialog.png

# The move: the dialog hides, the sea areas within reach are marked.
n=$(shots MapScreen_range)
click "$move_x" "$move_y"
await_shot MapScreen_range $((n + 1)) || fail "no reachable sea areas marked"
keep MapScreen_range fleets_reach.png
click "$strait_x" "$strait_y"
await_log "Player action: Fleet move / Home Fleet from 1 to 2" 1 || fail "the fleet did not move"
sleep 1

# The Strait: the dialog shows the fleet there.
n=$(shots MapScreen_cDialogFlot)
click "$strait_x" "$strait_y"
await_shot MapScreen_cDialogFlot $((n + 1)) || fail "no fleets dialog in the Strait"
keep MapScreen_cDialogFlot fleets_dialog_strait.png
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
  "Player action: Fleet move / Home Fleet from 1 to 2" \
  "Fleet Home Fleet going: node 1 -> 2, movement finished." \
  "----- Pause Menu -----" || exit 1
echo "fleets dialog ok: pictures in $out"
