#!/usr/bin/env bash
# Sets up a convoy on the test fixture under a virtual X display with
# xdotool, as a person would, playing Eastmark (made the human country of a
# copy of the fixture), whose turn comes first: C opens the convoys
# dialog with the fixture's convoy -> New convoy: the dialog hides, the own
# ports are marked -> a click on Eastport, then on Straitport: the dialog
# comes back with the new convoy selected -> its cargo switched to
# production points -> Close -> Esc, pause menu, exit.
#
# Pictures of the dialog before and after (TW_SCREENSHOT_DIR) and of the
# marked departure ports are kept; ConsoleOut.txt must hold the expected
# lines in order.
#
#   scripts/convoys_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "convoys walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
# Westland (1) hands the human's seat to Eastmark (2).
sed -i -e 's/^\(1;1;Westland;\([^;]*;\)\{10\}\)1;/\10;/' \
       -e 's/^\(2;1;Eastmark;\([^;]*;\)\{10\}\)0;/\11;/' "$fixture/countries.csv"
grep -q "^1;1;Westland;\([^;]*;\)\{10\}0;" "$fixture/countries.csv" &&
  grep -q "^2;1;Eastmark;\([^;]*;\)\{10\}1;" "$fixture/countries.csv" ||
  { echo "convoys walk: fixture not prepared" >&2; exit 1; }

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r new_x new_y < <(centre 945)
read -r production_x production_y < <(centre 952)
read -r exit_x exit_y < <(centre 956)

# Eastmark moves first in the impulse: its turn begins at once, without the
# computer phase and its greeting.
start_fixture_game_first_country
key c
await_shot MapScreen_cDialogKonwojow 1 || fail "no convoys dialog"
keep MapScreen_cDialogKonwojow convoys_dialog_before.png
n=$(shots MapScreen_range)
click "$new_x" "$new_y"
await_log "Player action: Convoy ports" 1 || fail "the pick of ports did not begin"
move_mouse 600 300
await_shot MapScreen_range $((n + 1)) || fail "the departure ports not pictured"
keep MapScreen_range convoy_departure_ports.png
read -r eastport_x eastport_y < <(hex 15 2)
read -r straitport_x straitport_y < <(hex 11 6)
click "$eastport_x" "$eastport_y"
sleep 0.5
click "$straitport_x" "$straitport_y"
await_log "Player action: New convoy ID=" 1 || fail "no convoy made"
move_mouse 520 640
await_shot MapScreen_cDialogKonwojow 2 || fail "the dialog did not come back"
keep MapScreen_cDialogKonwojow convoys_dialog_new.png
click "$production_x" "$production_y"
sleep 0.3
click "$exit_x" "$exit_y"
sleep 0.5
key c
await_shot MapScreen_cDialogKonwojow 3 || fail "no convoys dialog the second time"
keep MapScreen_cDialogKonwojow convoys_dialog_after.png
click "$exit_x" "$exit_y"
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 7" \
  "Player action: Convoys dialog" \
  "Player action: Convoy ports" \
  "Player action: New convoy ID=" \
  "----- Pause Menu -----" || exit 1
echo "convoys walk ok: pictures in $out"
