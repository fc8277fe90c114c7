#!/usr/bin/env bash
# Buys an infantry division on the test fixture under a virtual X display
# with xdotool, as a person would: the map screen after the computer
# countries have moved -> the new-turn greeting (Enter) -> P opens the
# purchases dialog on the land units -> Enter buys the first row at level 1
# -> the air tab (Right) -> Esc closes the dialog -> P opens it again ->
# Esc -> Esc, pause menu, exit.
#
# The fixture runs with the rule constants of Europe 1939, so that the
# dialog shows real prices and build times. Pictures of the dialog before
# and after the purchase are kept (TW_SCREENSHOT_DIR); ConsoleOut.txt must
# hold the expected lines in order.
#
#   scripts/purchases_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "purchases walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
cp "$here/data/scenarios/Europe1939/consts.csv" "$fixture/consts.csv"

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
start_fixture_game
key p
await_shot MapScreen_cDialogZakupow 1 || fail "no purchases dialog"
keep MapScreen_cDialogZakupow purchases_dialog.png
key Return
await_log "Player action: Purchase / item 0 level 1" 1 || fail "nothing bought"
key Right
sleep 0.5
key Escape
sleep 0.5
key p
await_shot MapScreen_cDialogZakupow 2 || fail "no purchases dialog the second time"
keep MapScreen_cDialogZakupow purchases_dialog_after.png
key Escape
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 7" \
  "Player action: Purchases dialog" \
  "Player action: Purchase / item 0 level 1" \
  "Player action: Purchases dialog" \
  "----- Pause Menu -----" || exit 1
echo "purchases walk ok: pictures in $out"
