#!/usr/bin/env bash
# Plays one land turn of the test fixture under a virtual X display with
# xdotool, as a person would: the map screen after the computer countries
# have moved -> the new-turn greeting (Enter) -> Tab (the map centres on
# the first unit that can move) -> the attack and unit panels shown by their
# handles -> a click on the armoured division: its range is marked -> a click on a
# marked hex: it moves -> undo -> the same move again -> a click on the
# enemy next to it: an attack is set up and the panel shows the odds -> a
# second attacker joins -> a click on the defender: the battle and its
# report -> Q: the end-turn question -> Enter: the turn ends with the
# autosave, the computer countries move -> the new turn is greeted -> Esc,
# pause menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with three units placed for the battle (Westland's infantry on
# (8, 7) and armour on (5, 7), Eastmark's guard on (8, 6)) and the rule
# constants of Europe 1939. Short move
# delays and a long-lived combat report keep the walk quick and the report
# on screen until it is closed. Pictures of the range, the attack panel and
# the combat report are saved (TW_SCREENSHOT_DIR); ConsoleOut.txt must hold
# the expected lines in order (a copy of it is taken before the turn ends,
# since the end of a turn starts the log afresh).
#
#   scripts/land_turn.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "land turn" "$@"

walk_make_run
mkdir -p "$run/data/save"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"
units="$run/data/scenarios/Fixture/land_units.csv"
sed -i -e 's/^1;1st Infantry;1;3;5;/1;1st Infantry;1;8;7;/' \
       -e "s/^2;2nd Armoured;1;6;4;/2;2nd Armoured;1;5;7;/" \
       -e 's/^6;Eastmark Guard;2;13;4;/6;Eastmark Guard;2;8;6;/' "$units"
grep -q "^6;Eastmark Guard;2;8;6;" "$units" || { echo "land turn: fixture units not placed" >&2; exit 1; }
freeze_land_units "$units" 2 3 4
# The fixture's rule constants are zeros; the battle is fought with those of
# the shipped scenario, so that the panel and the report show real numbers.
cp "$here/data/scenarios/Europe1939/consts.csv" "$run/data/scenarios/Fixture/consts.csv"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
HumanCombatResult=60000
[InterfaceSettings]
ConfirmEndTurn=true
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r handle_x handle_y < <(centre 450)
read -r unit_handle_x unit_handle_y < <(centre 350)
read -r undo_x undo_y < <(centre 381)

start_fixture_game
read -r armour_x armour_y < <(hex 5 7)
read -r target_x target_y < <(hex 7 6)
read -r enemy_x enemy_y < <(hex 8 6)
read -r infantry_x infantry_y < <(hex 8 7)
# The attack and unit panels, hidden at the start, shown by their handles.
click "$handle_x" "$handle_y"
sleep 0.2
click "$unit_handle_x" "$unit_handle_y"
sleep 0.2
n=$(shots MapScreen_range)
click "$armour_x" "$armour_y"
await_shot MapScreen_range $((n + 1)) || fail "the armour's range not shown"
keep MapScreen_range range.png

n7=$(log_count "---- Game state = 7")
click "$target_x" "$target_y"
await_log "Player action: Move / 2nd Armoured" 1 || fail "no move"
await_log "---- Game state = 7" $((n7 + 1)) || fail "the move did not end"
sleep 0.5
click "$undo_x" "$undo_y"
await_log "Undoing the move" 1 || fail "no undo"
sleep 0.5
click "$target_x" "$target_y"
await_log "Player action: Move / 2nd Armoured" 2 || fail "no second move"
await_log "---- Game state = 7" $((n7 + 2)) || fail "the second move did not end"
sleep 0.5
n=$(shots MapScreen_attack)
click "$enemy_x" "$enemy_y"
await_log "Player action: new assault plan created" 1 || fail "no attack set up"
await_shot MapScreen_attack $((n + 1)) || fail "the attack panel not shown"
click "$infantry_x" "$infantry_y"
await_log "Player action: Unit added to assault plan" 1 || fail "the second attacker did not join"
await_shot MapScreen_attack $((n + 2)) || fail "the attack panel not shown"
keep MapScreen_attack attack_panel.png
click "$enemy_x" "$enemy_y"
await_shot MapScreen_cDialogWynikuWalki 1 || fail "no combat report"
keep MapScreen_cDialogWynikuWalki combat_result.png
key Return
sleep 0.5
cp ConsoleOut.txt "$out/ConsoleOut_turn.txt"

key q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
key Return
await_shot MapScreen_cDialogNowejTury 2 600 || fail "no new-turn greeting after the computer phase"
keep MapScreen_cDialogNowejTury new_turn.png
key Return
sleep 0.3
quit_game
INNER
rc=$?
grep -E "screenshot" "$out/game.out" 2>/dev/null | tail -n 12 || true
walk_ended "$rc"
[ -d "$run/data/save/Autosave" ] || { echo "land turn FAILED: no autosave folder" >&2; exit 1; }

# Both logs are UTF-16LE; the expected lines must appear in this order.
check_lines "$out/ConsoleOut_turn.txt" \
  "==== AI THREAD FINISHED =====" \
  "---- Game state = 7" \
  "Player action: Move / 2nd Armoured from (5, 7) to (7, 6)" \
  "---- Game state = 8" \
  "---- Game state = 7" \
  "Undoing the move" \
  "Player action: Move / 2nd Armoured from (5, 7) to (7, 6)" \
  "---- Game state = 8" \
  "---- Game state = 7" \
  "Player action: new assault plan created" \
  "Player action: Unit added to assault plan" \
  "Player action: Executing assault " || exit 1
check_lines "$out/ConsoleOut.txt" \
  "---- Game state = 9" \
  "==== STARTING AI THREAD =====" \
  "==== AI THREAD FINISHED =====" \
  "---- Game state = 7" \
  "----- Pause Menu -----" \
  "---- Game state = 15" || exit 1
echo "land turn ok: pictures in $out"
