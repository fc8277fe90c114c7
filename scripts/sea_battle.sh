#!/usr/bin/env bash
# Plays a sea battle on its screen under a virtual X display with xdotool, as
# a person would: the fixture's first turn -> Q and Enter: the turn ends ->
# the computer countries move and the impulse ends -> the sea-battle screen
# of the Allies' meeting comes up -> a click on a ship of each side, Fire ->
# Auto end: the rounds play out -> Close (pressed until the battle is over
# and it takes) -> the screen of the Axis' meeting, the same -> the new-turn
# greeting (Enter) -> Esc, pause menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with Eastmark's squadron in the North Sea beside Westland's home
# fleet, and the rule constants of Europe 1939 with every ship joining and
# every meeting a battle (the battle weight of each ship type 1000, the join
# chance 100). A preliminary report ("Fleet detected") that a submarine's
# hit brings up is read with Enter. The first picture of each battle's
# screen is kept (TW_SCREENSHOT_DIR); ConsoleOut.txt must hold the expected
# lines in order.
#
#   scripts/sea_battle.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "sea battle" "$@"

walk_make_run
mkdir -p "$run/data/save"
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
sed -i -e 's/^2;Strait Squadron;2;2;/2;Strait Squadron;2;1;/' "$fixture/fleets.csv"
# The constants are data lines in a fixed order (lines starting with # do
# not count): 72 the battle weights of ship types 40-45, 128 the join chance.
awk 'BEGIN { ORS = "" }
     { line = $0; sub(/\r$/, "", line) }
     line !~ /^#/ { n++; if (n == 72) line = "1000;1000;1000;1000;1000;1000;0;0"; if (n == 128) line = "100" }
     { print line "\r\n" }' "$here/data/scenarios/Europe1939/consts.csv" >"$fixture/consts.csv"
grep -q "^2;Strait Squadron;2;1;" "$fixture/fleets.csv" &&
  grep -q "^1000;1000;1000;1000;1000;1000;0;0" "$fixture/consts.csv" ||
  { echo "sea battle: fixture not prepared" >&2; exit 1; }
cat >>"$run/Settings.ini" <<'INI'
[InterfaceSettings]
SeaBattleTimeout=0
INI

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
read -r fire_x fire_y < <(centre 660)
read -r auto_x auto_y < <(centre 661)
read -r close_x close_y < <(centre 658)

# The middle of a cell of the battle field at the screen's first view (zoom
# 0.4, the field's point (1245, 1470) at the screen's centre).
#   cell COLUMN ROW
cell() {
  awk -v c="$1" -v r="$2" 'BEGIN {
    wx = 83 * c + 50; wy = 98 * r + 49 + (c % 2 == 0 ? 49 : 0)
    print int(512 + (wx + 30 - 1245) * 0.4), int(384 + (wy + 36 - 1470) * 0.4) }'
}
read -r own_x own_y < <(cell 13 16)
read -r enemy_x enemy_y < <(cell 17 16)

# Waits for the n-th sea-battle screen; Enter every second reads a report
# shown before it (the map takes no Enter of its own meanwhile). Once the
# battles of the impulse are over there is none to wait for, and an Enter
# would close the new-turn greeting before it is pictured.
await_battle() {
  local n="$1" i
  for i in $(seq 1 300); do
    [ "$(shots cSeaBattleMenu)" -ge "$n" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    [ "$(log_count "Sea battles: finished.")" -ge 1 ] && return 1
    [ $((i % 10)) -eq 0 ] && key Return
    sleep 0.1
  done
  return 1
}

# Plays the battle on the current screen: a ship of each side clicked (the
# player's pick and target when his side acts), one shot, the rest
# automatic, then Close until the battle is over and the screen goes.
play_battle() {
  local closed
  closed=$(log_count "----- Sea Battle Screen closed -----")
  click "$own_x" "$own_y"
  sleep 0.2
  click "$enemy_x" "$enemy_y"
  sleep 0.2
  click "$fire_x" "$fire_y"
  sleep 0.3
  click "$auto_x" "$auto_y"
  for _ in $(seq 1 60); do
    click "$close_x" "$close_y"
    sleep 0.5
    [ "$(log_count "----- Sea Battle Screen closed -----")" -gt "$closed" ] && return 0
  done
  return 1
}

start_fixture_game
key q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
key Return
await_battle 1 || fail "no sea-battle screen after the impulse"
keep cSeaBattleMenu sea_battle.png
play_battle || fail "the first sea battle did not end"
# The Axis meet the Allies in turn, unless a side was sunk or withdrew.
if await_battle 2; then
  keep cSeaBattleMenu sea_battle_second.png
  play_battle || fail "the second sea battle did not end"
fi
await_shot MapScreen_cDialogNowejTury 2 600 || fail "no new-turn greeting after the sea battles"
key Return
sleep 0.3
quit_game
INNER
rc=$?
walk_ended "$rc"

# The log is UTF-16LE; the expected lines must appear in this order.
check_lines "$out/ConsoleOut.txt" \
  "Sea battles: started." \
  "Allied fleets have met enemy formations in North Sea." \
  "Sea battle at North Sea: shown on the sea-battle screen" \
  "----- Sea Battle Screen -----" \
  "----- Sea Battle Screen closed -----" \
  "Sea battles: finished." \
  "----- Pause Menu -----" || exit 1
echo "sea battle ok: pictures in $out"
