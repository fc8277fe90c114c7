#!/usr/bin/env bash
# Opens the reports and statistics dialog in the test fixture's first turn
# under a virtual X display with xdotool, as a person would: the computer
# countries move, Enter closes the new-turn greeting -> R: the dialog with
# Westland's list and no report type picked -> Esc closes the dialog, not
# the game -> R again -> its Close button -> Esc, pause menu, exit.
#
# A picture of the dialog as it opens is kept (TW_SCREENSHOT_DIR);
# ConsoleOut.txt must hold the expected lines in order.
#
#   scripts/reports_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "reports walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r close_x close_y < <(centre 826)
start_fixture_game
key r
await_shot MapScreen_cDialogStatystyk 1 || fail "R opened no reports dialog"
keep MapScreen_cDialogStatystyk reports_dialog_opened.png
n=$(shots MapScreen_range)
key Escape
await_shot MapScreen_range $((n + 1)) || fail "Esc did not close the reports dialog"
key r
await_shot MapScreen_cDialogStatystyk 2 || fail "R did not open the dialog again"
n=$(shots MapScreen_range)
click "$close_x" "$close_y"
await_shot MapScreen_range $((n + 1)) || fail "the close button did not close the dialog"
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 7" \
  "Player action: Reports and statistics dialog" \
  "Player action: Reports and statistics dialog" \
  "----- Pause Menu -----" || exit 1
echo "reports walk ok: pictures in $out"
