#!/usr/bin/env bash
# Plays the unit panel's orders on the test fixture under a virtual X display
# with xdotool, as a person would: the map screen after the computer
# countries have moved -> the new-turn greeting (Enter) -> the unit panel
# shown by its handle -> a click on the armoured division: the panel shows
# it -> its upgrade icon: it becomes a corps -> a click on the weakened
# infantry -> its commander icon: the commanders dialog -> its commander
# recalled, the best free one assigned -> Esc -> its replacements icon: the dialog -> M and
# Enter: strength bought -> a click on the bomber: the panel shows the air unit -> its
# bombardment icon: the targets are marked -> a click on the enemy: the
# strike and its report -> Enter -> a click on the strait: no unit -> Esc,
# pause menu, exit.
#
# The game runs in a folder of its own whose only scenario is a copy of the
# fixture with its units placed for the orders (Westland's infantry on
# (8, 7) at strength 60, its armour on (5, 7), its aircraft, made a tactical
# bomber, on (5, 6); Eastmark's guard on (8, 6)), Westland's production
# points raised to 900 and the rule constants of Europe 1939. Pictures of the
# panel for each unit, of the replacements dialog and of the strike's report
# are kept (TW_SCREENSHOT_DIR); ConsoleOut.txt must hold the expected lines
# in order.
#
#   scripts/unit_panel.sh [build folder] [output folder]
set -uo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
out="${2:-$build/unit_panel}"
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
fixture="$run/data/scenarios/Fixture"
cp -r "$here/tests/data/fixture_scenario/Fixture" "$fixture"
sed -i -e 's/^1;1st Infantry;1;3;5;0;2;100;/1;1st Infantry;1;8;7;0;2;60;/' \
       -e "s/^2;2nd Armoured;1;6;4;/2;2nd Armoured;1;5;7;/" \
       -e 's/^6;Eastmark Guard;2;13;4;/6;Eastmark Guard;2;8;6;/' "$fixture/land_units.csv"
sed -i -e 's/^1;Westland Fighters;1;5;6;20;/1;Westland Bombers;1;5;6;21;/' "$fixture/air_units.csv"
printf '\r\n6;Gen. Fairfax;1;0;4;2;0;\r\n7;Gen. Greaves;1;0;2;6;0;\r\n' >>"$fixture/commanders.csv"
sed -i -e 's/^\(1;1;Westland;\([^;]*;\)\{18\}\)101.000000;/\1900.000000;/' "$fixture/countries.csv"
grep -q "^6;Eastmark Guard;2;8;6;" "$fixture/land_units.csv" &&
  grep -q "^1;1st Infantry;1;8;7;0;2;60;" "$fixture/land_units.csv" &&
  grep -q "^1;Westland Bombers;1;5;6;21;" "$fixture/air_units.csv" &&
  grep -q "^1;1;Westland;.*;900.000000;" "$fixture/countries.csv" ||
  { echo "unit panel: fixture not prepared" >&2; exit 1; }
cp "$here/data/scenarios/Europe1939/consts.csv" "$fixture/consts.csv"
ln -s "$build/run/lang_ENG.db" "$run/lang_ENG.db"
cp "$here/data/Settings.ini" "$run/Settings.ini"
cat >>"$run/Settings.ini" <<'INI'
[Delay]
HumanMoveBetween=120
AIMoveBetween=120
HumanCombatResult=60000
INI

layout="$here/tools/make_layout/layout_1024x768.txt"
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$layout"; }
corner() { awk -v id="$1" '$1 == id { print $2, $3; exit }' "$layout"; }
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r start_x start_y < <(centre 245)
read -r exit_x exit_y < <(centre 276)
read -r unit_handle_x unit_handle_y < <(centre 350)
read -r upgrade_x upgrade_y < <(centre 361)
read -r replace_x replace_y < <(centre 375)
read -r bombard_x bombard_y < <(centre 387)
read -r commander_x commander_y < <(centre 372)
read -r assign_x assign_y < <(centre 870)
read -r recall_x recall_y < <(centre 865)
entry_x=$((list_x + 60)); entry_y=$((list_y + 12))

xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$run" "$out" "$game" \
  "$single_x $single_y" "$entry_x $entry_y" "$start_x $start_y" "$exit_x $exit_y" \
  "$unit_handle_x $unit_handle_y" "$upgrade_x $upgrade_y" "$replace_x $replace_y" "$bombard_x $bombard_y" \
  "$commander_x $commander_y" "$assign_x $assign_y" "$recall_x $recall_y" <<'INNER'
set -u
run="$1"; out="$2"; game="$3"
read -r single_x single_y <<<"$4"; read -r entry_x entry_y <<<"$5"; read -r start_x start_y <<<"$6"
read -r exit_x exit_y <<<"$7"; read -r unit_handle_x unit_handle_y <<<"$8"
read -r upgrade_x upgrade_y <<<"$9"; read -r replace_x replace_y <<<"${10}"; read -r bombard_x bombard_y <<<"${11}"
read -r commander_x commander_y <<<"${12}"; read -r assign_x assign_y <<<"${13}"; read -r recall_x recall_y <<<"${14}"
# The screen point of a hex's middle for the map view the program printed
# with its last map picture (see scripts/land_turn.sh).
hex() {
  awk -v c="$1" -v r="$2" '/^map view / { x = $3; y = $4; z = $5 } END {
    px = 83 * c + 48; py = 98 * r + 49 + (c % 2 == 0 ? 49 : 0)
    printf "%d %d\n", 512 + (px - x + 30) * z, 384 + (py - y + 36) * z }' "$out/game.out"
}
cd "$run"
export TW_SCREENSHOT_DIR="$out" SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
"$game" >"$out/game.out" 2>&1 &
pid=$!

fail() { echo "unit panel: $1" >&2; kill "$pid" 2>/dev/null; exit 1; }
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
shots() { grep -c "_$1.png" "$out/game.out"; }
await_shot() {
  for _ in $(seq 1 "${3:-80}"); do
    [ "$(shots "$1")" -ge "$2" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
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
# The newest picture of a screen, kept under a name of its own.
keep() { cp "$(ls -t "$out"/*_"$1".png | head -n1)" "$out/$2"; }

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
click "$unit_handle_x" "$unit_handle_y"
sleep 0.2
read -r armour_x armour_y < <(hex 5 7)
read -r infantry_x infantry_y < <(hex 8 7)
read -r bomber_x bomber_y < <(hex 5 6)
read -r enemy_x enemy_y < <(hex 8 6)
read -r empty_x empty_y < <(hex 3 8)
read -r sea_x sea_y < <(hex 9 6)

# The armoured division, then its upgrade to a corps.
n=$(shots MapScreen_range)
click "$armour_x" "$armour_y"
await_shot MapScreen_range $((n + 1)) || fail "the armour not selected"
keep MapScreen_range panel_land_division.png
click "$upgrade_x" "$upgrade_y"
await_log "Player action: Upgrade to corps / 2nd Armoured" 1 || fail "no upgrade"
click "$empty_x" "$empty_y"
sleep 0.5
n=$(shots MapScreen_range)
click "$armour_x" "$armour_y"
await_shot MapScreen_range $((n + 1)) || fail "the armour not selected again"
keep MapScreen_range panel_land.png

# The weakened infantry: a commander of its own, then its replacements.
click "$infantry_x" "$infantry_y"
sleep 0.5
click "$commander_x" "$commander_y"
await_shot MapScreen_cDialogDowodcow 1 || fail "no commanders dialog"
keep MapScreen_cDialogDowodcow commanders_dialog.png
click "$recall_x" "$recall_y"
await_log "Player action: Commander recalled / Gen. Ashford from 1st Infantry" 1 || fail "no commander recalled"
sleep 0.3
click "$assign_x" "$assign_y"
await_log "Player action: Commander / Gen. Fairfax to 1st Infantry" 1 || fail "no commander assigned"
sleep 0.3
xdotool key --window "$win" Escape
sleep 0.5
click "$replace_x" "$replace_y"
await_shot MapScreen_cDialogUzupelnien 1 || fail "no replacements dialog"
keep MapScreen_cDialogUzupelnien replacements_dialog.png
xdotool key --window "$win" m
sleep 0.3
xdotool key --window "$win" Return
await_log "Player action: Replacements / 1st Infantry +" 1 || fail "no replacements bought"
sleep 0.5

# The bomber, its bombardment of the enemy next to the infantry.
n=$(shots MapScreen_range)
click "$bomber_x" "$bomber_y"
await_shot MapScreen_range $((n + 1)) || fail "the bomber not selected"
keep MapScreen_range panel_air.png
n=$(shots MapScreen_range)
click "$bombard_x" "$bombard_y"
await_shot MapScreen_range $((n + 1)) || fail "no bombardment targets marked"
keep MapScreen_range bombard_targets.png
click "$enemy_x" "$enemy_y"
await_log "Player action: Air bombardment / Westland Bombers on (8, 6)" 1 || fail "no bombardment"
await_shot MapScreen_cDialogWynikuWalki 1 || fail "no report of the strike"
keep MapScreen_cDialogWynikuWalki bombardment_result.png
xdotool key --window "$win" Return
sleep 0.5

# A hex of the strait: ships never stand on a hex, the panel shows no unit.
n=$(shots MapScreen)
click "$sea_x" "$sea_y"
await_shot MapScreen $((n + 1)) || fail "the strait not selected"
keep MapScreen panel_sea.png

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
if [ "$rc" -ne 0 ]; then
  echo "unit panel FAILED (exit $rc)" >&2
  exit 1
fi

# The log is UTF-16LE; the expected lines must appear in this order.
check_lines() {
  local file="$1"; shift
  local rest tail line
  rest="$(iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r')"
  for line in "$@"; do
    tail="${rest#*"$line"}"
    if [ "$tail" = "$rest" ]; then
      echo "unit panel FAILED: \"$line\" missing or out of order in $(basename "$file")" >&2
      return 1
    fi
    rest="$tail"
  done
}
check_lines "$out/ConsoleOut.txt" \
  "==== AI THREAD FINISHED =====" \
  "---- Game state = 7" \
  "Player action: Upgrade to corps / 2nd Armoured" \
  "Player action: Commander recalled / Gen. Ashford from 1st Infantry" \
  "Player action: Commander / Gen. Fairfax to 1st Infantry" \
  "Player action: Replacements / 1st Infantry +" \
  "Player action: Air bombardment / Westland Bombers on (8, 6)" \
  "----- Pause Menu -----" || exit 1
echo "unit panel ok: pictures in $out"
