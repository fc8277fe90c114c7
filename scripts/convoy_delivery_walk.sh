#!/usr/bin/env bash
# A supplies convoy that delivers, played under a virtual X display with
# xdotool on a copy of the fixture prepared for it: Eastmark is the human
# country; Straitport, with the Eastmark Panzer in it, and a hex of open
# land held by the Eastmark Guard are pockets ringed by Neutralia's land; the
# Westland fleet lies in its own port, off the convoy's route, and the
# fixture's own convoy is left out. The walk opens the convoys dialog, makes
# a supplies convoy from Eastport to Straitport, ends impulses (closing the
# convoy results each time) until the log says Straitport took the convoy's
# supply, and keeps pictures of the dialog and of the map with the cut-off
# units' low-supply markers, before and after the delivery.
#
#   scripts/convoy_delivery_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "convoy delivery walk" "$@"
make_map="$build/tools/make_map"
need_built "$make_map" make_map "$build" make_map

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
# Westland (1) hands the human's seat to Eastmark (2).
sed -i -e 's/^\(1;1;Westland;\([^;]*;\)\{10\}\)1;/\10;/' \
       -e 's/^\(2;1;Eastmark;\([^;]*;\)\{10\}\)0;/\11;/' "$fixture/countries.csv"
# The Panzer (7) into Straitport (11, 6); the Guard (6) to (17, 8), low on
# supply and long without it.
awk -F';' -v OFS=';' '
  $1 == 7 { $4 = 11; $5 = 6; $31 = 11; $32 = 6; $25 = 4 }
  $1 == 6 { $4 = 17; $5 = 8; $31 = 17; $32 = 8; $25 = 4; $29 = 9 }
  { print }' "$fixture/land_units.csv" >"$fixture/land_units.tmp" && mv "$fixture/land_units.tmp" "$fixture/land_units.csv"
# Neutralia's land around both pockets (every hex of the 3 x 3 box that was
# Eastmark's, so every neighbour whatever the column's parity): no supply
# passes it, and land of a country at war with nobody is never absorbed.
awk '
  /^owner/ { section = "owner"; row = -1; print; next }
  /^[a-z]/ { section = ""; print; next }
  section == "owner" {
    ++row
    for (x = 1; x <= NF; ++x) {
      c = x - 1
      box = (c >= 10 && c <= 12 && row >= 5 && row <= 7 && !(c == 11 && row == 6)) ||
            (c >= 16 && c <= 18 && row >= 7 && row <= 9 && !(c == 17 && row == 8))
      if (box && $x == 2) $x = 4
    }
    print; next
  }
  { print }' "$fixture/map.txt" >"$fixture/map.tmp" && mv "$fixture/map.tmp" "$fixture/map.txt"
"$make_map" "$fixture/map.txt" "$fixture/map.tdw" || { echo "convoy delivery walk: make_map failed" >&2; exit 1; }
# The Home Fleet waits in Westport (sea node 3); no convoy of the fixture's.
sed -i 's/^1;Home Fleet;1;1;/1;Home Fleet;1;3;/' "$fixture/fleets.csv"
sed -i '/^[0-9]/d' "$fixture/convoys.csv"
grep -q "^2;1;Eastmark;\([^;]*;\)\{10\}1;" "$fixture/countries.csv" &&
  grep -q "^7;Eastmark Panzer;2;11;6;" "$fixture/land_units.csv" &&
  grep -q "^1;Home Fleet;1;3;" "$fixture/fleets.csv" ||
  { echo "convoy delivery walk: fixture not prepared" >&2; exit 1; }

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r new_x new_y < <(centre 945)
read -r exit_x exit_y < <(centre 956)
delivered="Straitport takes supply from the convoy ("

# Eastmark moves first in the impulse: its turn begins at once.
start_fixture_game_first_country
keep MapScreen map_cut_off_before.png

key c
await_shot MapScreen_cDialogKonwojow 1 || fail "no convoys dialog"
n=$(shots MapScreen_range)
click "$new_x" "$new_y"
await_log "Player action: Convoy ports" 1 || fail "the pick of ports did not begin"
move_mouse 600 300
await_shot MapScreen_range $((n + 1)) || fail "the departure ports not pictured"
read -r eastport_x eastport_y < <(hex 15 2)
read -r straitport_x straitport_y < <(hex 11 6)
click "$eastport_x" "$eastport_y"
sleep 0.5
click "$straitport_x" "$straitport_y"
await_log "Player action: New convoy ID=" 1 || fail "no convoy made"
move_mouse 520 640
await_shot MapScreen_cDialogKonwojow 2 || fail "the dialog did not come back"
keep MapScreen_cDialogKonwojow convoy_supplies_dialog.png
click "$exit_x" "$exit_y"
sleep 0.5
# The end of the turn starts the log afresh.
cp ConsoleOut.txt "$out/ConsoleOut_turn.txt"

# End impulses until the convoy has delivered: each end asks, the computer
# countries pass, the end of the impulse sails the convoy and waits while
# its result is shown (Enter closes it, and any other message of the end),
# and Eastmark's next turn begins with its greeting.
for impulse in 1 2 3; do
  greetings=$(shots MapScreen_cDialogNowejTury)
  key q
  await_shot MapScreen_cDialogPotwKoncaTury "$impulse" || fail "no end-turn question ($impulse)"
  key Return
  await_log "Executing all convoys of Eastmark" 1 600 || fail "no convoys sailed ($impulse)"
  for _ in $(seq 1 60); do
    sleep 1
    [ "$(log_count "Koniec impulsu wykonany")" -ge 1 ] && break
    key Return
  done
  await_log "Koniec impulsu wykonany" 1 1 || fail "the end of impulse $impulse did not finish"
  if await_shot MapScreen_cDialogNowejTury $((greetings + 1)) 100; then
    key Return
    sleep 0.5
  fi
  [ "$(log_count "$delivered")" -ge 1 ] && break
done
await_log "$delivered" 1 1 || fail "the convoy never delivered"
# A closer look at the pockets: two steps of zoom, the mouse off the map.
read -r zoom_x zoom_y < <(centre 316)
n=$(shots MapScreen)
[ -n "$zoom_x" ] && click "$zoom_x" "$zoom_y"
sleep 0.5
move_mouse 600 760
await_shot MapScreen $((n + 1)) || fail "the map not pictured after the delivery"
keep MapScreen map_cut_off_after.png
quit_game 150
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut_turn.txt" \
  "Player action: Convoys dialog" \
  "Player action: New convoy ID=" || exit 1
check_lines "$out/ConsoleOut.txt" \
  "Calculating supply" \
  "Executing all convoys of Eastmark" \
  "Straitport takes supply from the convoy (" \
  "Koniec impulsu wykonany" \
  "----- Pause Menu -----" || exit 1
echo "convoy delivery walk ok: pictures in $out"
