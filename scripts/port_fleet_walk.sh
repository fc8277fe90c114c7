#!/usr/bin/env bash
# A fleet that starts in port, and the first impulses' dates, played under a
# virtual X display with xdotool as a person would: a copy of Europe 1939
# with Germany as the human country, which moves first -> a click on Kiel,
# a port city where the Baltic Squadron lies: the fleets dialog of the port
# opens -> its move button: the dialog hides, the reachable sea areas are
# marked -> a click on the Western Baltic: the squadron sails out of port ->
# the mouse over its new sea area: the area's hover box with the ship counts
# -> Q, Enter: the turn ends, the computer countries move, the impulse ends
# (Enter closes what it shows) -> Germany's greeting -> the same once more ->
# Esc, pause menu, exit.
#
# Pictures (TW_SCREENSHOT_DIR): the port's fleets dialog, the marked sea
# areas, the hover box, and the map at the start of each of the first three
# impulses, whose date line reads 1 September 1939, 16 September 1939 and
# 1 October 1939. ConsoleOut.txt must hold the fleet's move.
#
#   scripts/port_fleet_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "port fleet walk" "$@"

walk_make_europe_germany_run

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"

# Answers the newest event dialog with its first option.
answer_event() {
  local id x y
  id="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt | tr -d '\r' | sed -n 's/.*Event fired (ID=\([0-9]*\) .*/\1/p' | tail -n1)"
  [ -n "$id" ] || return 0
  read -r x y < <(event_first_option "$id") || return 0
  [ -n "${y:-}" ] && click "$x" "$y"
}
read -r move_x move_y < <(centre 557)
open_fixture_game
await_shot MapScreen 1 || fail "map screen not shown"
move_mouse 600 300
sleep 2
keep MapScreen impulse_1.png

# Kiel: the port's fleets dialog over the map.
read -r kiel_x kiel_y < <(hex 32 19)
click "$kiel_x" "$kiel_y"
await_shot MapScreen_cDialogFlot 1 || fail "no fleets dialog in Kiel"
keep MapScreen_cDialogFlot kiel_fleets_dialog.png

# The move out of port: the sea areas within reach are marked.
n=$(shots MapScreen_range)
click "$move_x" "$move_y"
await_shot MapScreen_range $((n + 1)) || fail "no reachable sea areas marked"
keep MapScreen_range kiel_reach.png
read -r baltic_x baltic_y < <(hex 38 18)
click "$baltic_x" "$baltic_y"
await_log "Player action: Fleet move / Baltic Squadron from 39 to 12" 1 || fail "the squadron did not sail"
sleep 1

# The hover box of the Western Baltic, where the squadron now lies.
read -r ship_x ship_y < <(hex 39 19)
n=$(shots MapScreen)
move_mouse "$ship_x" "$ship_y"
sleep 2
move_mouse $((ship_x + 1)) "$ship_y"
await_shot MapScreen $((n + 1)) || fail "the map not pictured under the hover box"
keep MapScreen hover_box.png
cp ConsoleOut.txt "$out/ConsoleOut_turn1.txt"

# Two impulses end: the question, the computer countries, the end of the
# impulse (Enter closes its messages), Germany's greeting.
# The end of a turn starts the log afresh: Germany's turn is back when the
# worker has handed over ("AI THREAD FINISHED").
for impulse in 2 3; do
  greetings=$(shots MapScreen_cDialogNowejTury)
  key q
  await_shot MapScreen_cDialogPotwKoncaTury $((impulse - 1)) || fail "no end-turn question ($impulse)"
  key Return
  started=$(date +%s)
  events=$(shots EndOfImpulse_cDialogEventu)
  for _ in $(seq 1 240); do
    sleep 1
    [ "$(log_count "==== AI THREAD FINISHED =====")" -ge 1 ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended"
    if [ "$(shots EndOfImpulse_cDialogEventu)" -gt "$events" ]; then
      events=$(shots EndOfImpulse_cDialogEventu)
      keep EndOfImpulse_cDialogEventu "event_${impulse}_${events}.png"
      answer_event
    else
      key Return
    fi
  done
  await_log "==== AI THREAD FINISHED =====" 1 1 || fail "Germany's turn did not come back for impulse $impulse"
  echo "impulse $impulse: the round of the computer's turns and the end of the impulse took $(($(date +%s) - started)) s" \
    >>"$out/timings.txt"
  if await_shot MapScreen_cDialogNowejTury $((greetings + 1)) 30; then
    keep MapScreen_cDialogNowejTury "greeting_$impulse.png"
    key Return
  fi
  sleep 1
  n=$(shots MapScreen)
  move_mouse 600 301
  move_mouse 600 300
  await_shot MapScreen $((n + 1)) || fail "the map not pictured in impulse $impulse"
  keep MapScreen "impulse_$impulse.png"
done
quit_game 150
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut_turn1.txt" \
  "Player action: Fleet move / Baltic Squadron from 39 to 12" \
  "Fleet Baltic Squadron going: node 39 -> 12, movement finished." || exit 1
echo "port fleet walk: passed ($out)"
