#!/usr/bin/env bash
# Runs a war economy for one impulse on the test fixture under a virtual X
# display with xdotool, as a person would, playing Westland: the map screen
# after the computer countries have moved -> the new-turn greeting (Enter)
# -> P opens the purchases dialog on the land units -> Enter buys the first
# row (an infantry division) at level 1 -> the air tab (Right) -> Esc, P
# again -> Esc -> T opens the research dialog -> Invest in the first
# technology -> Esc, T again (the investment icon lit) -> Esc -> U opens
# the units manager, D its "to deploy" list -> Esc, U again (the dialog
# keeps its list) -> Down, the bought division (the fixture's Reserve
# Infantry is first), "available in 1 turn": Enter does nothing -> Esc ->
# Q, the end-turn question, Enter: the impulse ends, the computer countries
# move -> the next turn's greeting (Enter) -> Tab centres the map on the
# first unit -> U, the "to deploy" list again, the division available now
# -> Down, Enter: the deploy hexes are marked -> a click on Westhaven
# (2, 4): the division is placed there; the units manager comes back -> Esc:
# the map shows the division on Westhaven (pictured) -> Esc, pause menu, exit.
#
# The fixture runs with the rule constants of Europe 1939, so that the
# dialogs show real prices, build times and research costs; an infantry
# division is made to wait one impulse before it can be deployed. Pictures
# of the three dialogs, of the marked deploy hexes and of the map after the
# deploy are kept
# (TW_SCREENSHOT_DIR); the logs of both turns must hold the expected lines
# in order (a copy is taken before the impulse ends, since the end of a turn
# starts the log afresh).
#
#   scripts/purchases_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "purchases walk" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
consts="$fixture/consts.csv"
# Data line 154 (comment lines not counted) holds the build time of each
# purchase item in impulses, the infantry division's first.
awk -F';' -v OFS=';' '!/^#/ && ++data == 154 { $1 = 1 } { print }' \
  "$here/data/scenarios/Europe1939/consts.csv" >"$consts"
[ "$(grep -v '^#' "$consts" | sed -n 154p | cut -d';' -f1)" = 1 ] ||
  { echo "purchases walk: build time not set" >&2; exit 1; }
cat >>"$run/Settings.ini" <<'INI'
[InterfaceSettings]
ConfirmEndTurn=true
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r invest_x invest_y < <(centre 799)

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

key t
await_shot MapScreen_cDialogResearchu 1 || fail "no research dialog"
click "$invest_x" "$invest_y"
await_log "Player action: Research investment in technology 0" 1 || fail "no investment"
key Escape
sleep 0.5
key t
await_shot MapScreen_cDialogResearchu 2 || fail "no research dialog the second time"
keep MapScreen_cDialogResearchu research_dialog.png
key Escape
sleep 0.5

# The division waits its build time: listed, but not yet to be deployed.
key u
await_shot MapScreen_cDialogJednostek 1 || fail "no units manager"
key d
sleep 0.5
key Escape
sleep 0.5
key u
await_shot MapScreen_cDialogJednostek 2 || fail "no units manager the second time"
keep MapScreen_cDialogJednostek units_manager_waiting.png
key Down
sleep 0.3
key Return
sleep 0.5
[ "$(log_count "Player action: Deploy ")" -eq 0 ] || fail "deployed before its build time"
key Escape
sleep 0.5
cp ConsoleOut.txt "$out/ConsoleOut_turn.txt"

key q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
key Return
await_shot MapScreen_cDialogNowejTury 2 600 || fail "no new-turn greeting after the end of the impulse"
key Return
sleep 0.3
move_mouse 600 300
n=$(shots MapScreen_range)
key Tab
await_shot MapScreen_range $((n + 1)) || fail "Tab selected nothing in the new turn"
sleep 2

# The dialog opens on the list it showed last.
key u
await_shot MapScreen_cDialogJednostek 3 || fail "no units manager in the new turn"
keep MapScreen_cDialogJednostek units_manager_to_deploy.png
key Down
sleep 0.3
n=$(shots MapScreen_range)
key Return
await_log "Player action: Deploy " 1 || fail "the deploy order not given"
await_shot MapScreen_range $((n + 1)) || fail "the deploy hexes not pictured"
keep MapScreen_range deploy_hexes.png
read -r westhaven_x westhaven_y < <(hex 2 4)
m=$(shots MapScreen_cDialogJednostek)
click "$westhaven_x" "$westhaven_y"
await_log "Player action: Deploy " 2 || fail "the division not deployed"
# The units manager comes back; closed, it shows the division standing on
# Westhaven at once, its counter drawn.
await_shot MapScreen_cDialogJednostek $((m + 1)) || fail "the units manager not back after the deploy"
n=$(shots MapScreen)
key Escape
await_shot MapScreen $((n + 1)) || fail "the map not pictured after the deploy"
keep MapScreen deployed.png
sleep 1
key Escape
sleep 0.5
quit_game
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut_turn.txt" \
  "---- Game state = 7" \
  "Player action: Purchases dialog" \
  "Player action: Purchase / item 0 level 1" \
  "Player action: Purchases dialog" \
  "Player action: Research dialog" \
  "Player action: Research investment in technology 0 for " \
  "Player action: Units manager" \
  "Player action: Units manager" || exit 1
# The fixture names Westland's new infantry "<number> %i Westland Division";
# the deploy order and the placing name the bought division, not the
# fixture's Reserve Infantry listed above it.
check_lines "$out/ConsoleOut.txt" \
  "Koniec impulsu wykonany" \
  "---- Game state = 7" \
  "Player action: Units manager" \
  "Player action: Deploy " \
  "Westland Division" \
  "Player action: Deploy " \
  "Westland Division at (2, 4)" \
  "----- Pause Menu -----" || exit 1
echo "purchases walk ok: pictures in $out"
