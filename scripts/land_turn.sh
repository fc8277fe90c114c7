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

here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
out="${2:-$build/land_turn}"
game="$build/run/tidewrack"

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: xvfb-run not installed"
  exit 0
fi
if ! command -v xdotool >/dev/null 2>&1; then
  echo "skipped: xdotool not installed"
  exit 0
fi
if [ ! -x "$game" ]; then
  echo "game not built: $game (ninja -C $build tidewrack language_base)" >&2
  exit 1
fi
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/ConsoleOut*.txt "$out/game.out"

run="$out/run"
rm -rf "$run"
mkdir -p "$run/data/scenarios" "$run/data/save"
for entry in "$here"/data/*; do
  case "$(basename "$entry")" in scenarios|save) ;; *) ln -s "$entry" "$run/data/$(basename "$entry")" ;; esac
done
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"
units="$run/data/scenarios/Fixture/land_units.csv"
sed -i -e 's/^1;1st Infantry;1;3;5;/1;1st Infantry;1;8;7;/' \
       -e "s/^2;2nd Armoured;1;6;4;/2;2nd Armoured;1;5;7;/" \
       -e 's/^6;Eastmark Guard;2;13;4;/6;Eastmark Guard;2;8;6;/' "$units"
grep -q "^6;Eastmark Guard;2;8;6;" "$units" || { echo "land turn: fixture units not placed" >&2; exit 1; }
# The fixture's rule constants are zeros; the battle is fought with those of
# the shipped scenario, so that the panel and the report show real numbers.
cp "$here/data/scenarios/Europe1939/consts.csv" "$run/data/scenarios/Fixture/consts.csv"
ln -s "$build/run/lang_ENG.db" "$run/lang_ENG.db"
cp "$here/data/Settings.ini" "$run/Settings.ini"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
HumanCombatResult=60000
[InterfaceSettings]
ConfirmEndTurn=true
INI

layout="$here/tools/make_layout/layout_1024x768.txt"
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$layout"; }
corner() { awk -v id="$1" '$1 == id { print $2, $3; exit }' "$layout"; }
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r start_x start_y < <(centre 245)
read -r exit_x exit_y < <(centre 276)
read -r handle_x handle_y < <(centre 450)
read -r unit_handle_x unit_handle_y < <(centre 350)
read -r undo_x undo_y < <(centre 381)
entry_x=$((list_x + 60)); entry_y=$((list_y + 12))


xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$run" "$out" "$game" \
  "$single_x $single_y" "$entry_x $entry_y" "$start_x $start_y" "$exit_x $exit_y" "$handle_x $handle_y" \
  "$unit_handle_x $unit_handle_y" "$undo_x $undo_y" <<'INNER'
set -u
run="$1"; out="$2"; game="$3"
read -r single_x single_y <<<"$4"; read -r entry_x entry_y <<<"$5"; read -r start_x start_y <<<"$6"
read -r exit_x exit_y <<<"$7"; read -r handle_x handle_y <<<"$8"
read -r unit_handle_x unit_handle_y <<<"$9"; read -r undo_x undo_y <<<"${10}"
# The screen point of a hex's middle for the map view the program printed
# with its last map picture: columns are 83 map pixels apart, rows 98, even
# columns 49 lower; the view's centre is the middle of the 1024 x 768 screen.
hex() {
  awk -v c="$1" -v r="$2" '/^map view / { x = $3; y = $4; z = $5 } END {
    px = 83 * c + 48; py = 98 * r + 49 + (c % 2 == 0 ? 49 : 0)
    printf "%d %d\n", 512 + (px - x + 30) * z, 384 + (py - y + 36) * z }' "$out/game.out"
}
cd "$run"
export TW_SCREENSHOT_DIR="$out" SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
"$game" >"$out/game.out" 2>&1 &
pid=$!

fail() { echo "land turn: $1" >&2; kill "$pid" 2>/dev/null; exit 1; }
win=""
for _ in $(seq 1 100); do
  win="$(xdotool search --name "Tidewrack v1.01" 2>/dev/null | head -n1)"
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no game window"
xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win"
for _ in $(seq 1 100); do
  grep -q "first main-menu frame" "$out/game.out" && break
  xdotool key --window "$win" Escape
  sleep 0.1
done
# Waits until the program has saved its n-th picture of a screen.
shots() { grep -c "_$1.png" "$out/game.out"; }
await_shot() {
  for _ in $(seq 1 "${3:-80}"); do
    [ "$(shots "$1")" -ge "$2" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
# Waits for the n-th log line holding the text (ConsoleOut.txt is UTF-16).
log_count() { iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt 2>/dev/null | grep -c -F -e "$1"; }
await_log() {
  for _ in $(seq 1 "${3:-80}"); do
    [ "$(log_count "$1")" -ge "$2" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

await_shot cMainMenu 1 || fail "main menu not shown"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
xdotool mousemove --window "$win" "$entry_x" "$entry_y" click --repeat 2 --delay 80 1
await_shot cScenarioSettingsMenu 1 100 || fail "scenario settings not shown"
click "$start_x" "$start_y"
await_shot MapScreen_cDialogNowejTury 1 150 || fail "no new-turn greeting after the computer countries"
xdotool key --window "$win" Return
await_shot MapScreen 1 || fail "map screen not shown after the greeting"
xdotool mousemove --window "$win" 600 300
n=$(shots MapScreen_range)
xdotool key --window "$win" Tab
await_shot MapScreen_range $((n + 1)) || fail "Tab selected nothing"
sleep 2  # the view glides to the unit; its resting place is pictured
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
cp "$(ls -t "$out"/*_MapScreen_range.png | head -n1)" "$out/range.png"

n7=$(log_count "---- Game state = 7")
click "$target_x" "$target_y"
await_log "Player action: Move / 2nd Armoured" 1 || fail "no move"
await_log "---- Game state = 7" $((n7 + 1)) 100 || fail "the move did not end"
sleep 0.5
click "$undo_x" "$undo_y"
await_log "Undoing the move" 1 || fail "no undo"
sleep 0.5
click "$target_x" "$target_y"
await_log "Player action: Move / 2nd Armoured" 2 || fail "no second move"
await_log "---- Game state = 7" $((n7 + 2)) 100 || fail "the second move did not end"
sleep 0.5
n=$(shots MapScreen_attack)
click "$enemy_x" "$enemy_y"
await_log "Player action: new assault plan created" 1 || fail "no attack set up"
await_shot MapScreen_attack $((n + 1)) || fail "the attack panel not shown"
click "$infantry_x" "$infantry_y"
await_log "Player action: Unit added to assault plan" 1 || fail "the second attacker did not join"
await_shot MapScreen_attack $((n + 2)) || fail "the attack panel not shown"
cp "$(ls -t "$out"/*_MapScreen_attack.png | head -n1)" "$out/attack_panel.png"
click "$enemy_x" "$enemy_y"
await_shot MapScreen_cDialogWynikuWalki 1 || fail "no combat report"
cp "$(ls -t "$out"/*_MapScreen_cDialogWynikuWalki.png | head -n1)" "$out/combat_result.png"
xdotool key --window "$win" Return
sleep 0.5
cp ConsoleOut.txt "$out/ConsoleOut_turn.txt"

xdotool key --window "$win" q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
xdotool key --window "$win" Return
await_shot MapScreen_cDialogNowejTury 2 200 || fail "no new-turn greeting after the computer phase"
cp "$(ls -t "$out"/*_MapScreen_cDialogNowejTury.png | head -n1)" "$out/new_turn.png"
xdotool key --window "$win" Return
sleep 0.3
xdotool key --window "$win" Escape
await_shot cPauseMenu 1 || fail "pause menu not shown"
click "$exit_x" "$exit_y"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the game did not exit"
wait "$pid"
INNER
rc=$?
cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
grep -E "screenshot" "$out/game.out" 2>/dev/null | tail -n 12 || true
if [ "$rc" -ne 0 ]; then
  echo "land turn FAILED (exit $rc)" >&2
  exit 1
fi
[ -d "$run/data/save/Autosave" ] || { echo "land turn FAILED: no autosave folder" >&2; exit 1; }

# Both logs are UTF-16LE; the expected lines must appear in this order.
check_lines() {
  local file="$1"; shift
  local rest tail line
  rest="$(iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r')"
  for line in "$@"; do
    tail="${rest#*"$line"}"
    if [ "$tail" = "$rest" ]; then
      echo "land turn FAILED: \"$line\" missing or out of order in $(basename "$file")" >&2
      return 1
    fi
    rest="$tail"
  done
}
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
