#!/usr/bin/env bash
# Runs the research dialog and the units manager on the test fixture under
# a virtual X display with xdotool, as a person would, playing Eastmark
# (made the human country of a copy of the fixture, with research costs
# given), whose turn comes first: T opens the research dialog -> Invest in
# the first technology: the production points are paid and the investment
# icon lights -> Esc closes it, T opens it again -> Esc -> U opens the units
# manager -> Right twice, the naval tab -> D, the reserve (its rows are
# logged) -> Esc -> Esc, pause menu, exit.
#
# Pictures of both dialogs are kept (TW_SCREENSHOT_DIR); ConsoleOut.txt must
# hold the expected lines in order.
#
#   scripts/economy_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "economy walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
# Westland (1) hands the human's seat to Eastmark (2).
sed -i -e 's/^\(1;1;Westland;\([^;]*;\)\{10\}\)1;/\10;/' \
       -e 's/^\(2;1;Eastmark;\([^;]*;\)\{10\}\)0;/\11;/' "$fixture/countries.csv"
# Thirty points a level, five levels, ten production points at the start.
sed -i -e 's/^ResearchCost;.*/ResearchCost;30;30;30;30;30;30;30/' \
       -e 's/^ResearchLimit;.*/ResearchLimit;5;5;5;5;5;5;5/' \
       -e 's/^ResearchFactors;.*/ResearchFactors;10.0;10.0;10.0;10.0;10.0;10.0;10.0/' "$fixture/consts.csv"
grep -q "^2;1;Eastmark;\([^;]*;\)\{10\}1;" "$fixture/countries.csv" &&
  grep -q "^ResearchCost;30;" "$fixture/consts.csv" ||
  { echo "economy walk: fixture not prepared" >&2; exit 1; }

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r invest_x invest_y < <(centre 799)

start_fixture_game_first_country
key t
await_shot MapScreen_cDialogResearchu 1 || fail "no research dialog"
keep MapScreen_cDialogResearchu research_dialog_before.png
click "$invest_x" "$invest_y"
await_log "Player action: Research investment in technology 0" 1 || fail "no investment"
key Escape
sleep 0.5
key t
await_shot MapScreen_cDialogResearchu 2 || fail "no research dialog the second time"
keep MapScreen_cDialogResearchu research_dialog_after.png
key Escape
sleep 0.5
key u
await_shot MapScreen_cDialogJednostek 1 || fail "no units manager"
keep MapScreen_cDialogJednostek units_manager_land.png
key Right
sleep 0.3
key Right
sleep 0.3
key d
await_log "EM Reserve Cruiser;" 1 || fail "the naval reserve not listed"
key Escape
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 7" \
  "Player action: Research dialog" \
  "Player action: Research investment in technology 0 for 10.00 PP (investment 1)" \
  "Player action: Units manager" \
  "EM Reserve Cruiser;" \
  "----- Pause Menu -----" || exit 1
echo "economy walk ok: pictures in $out"
