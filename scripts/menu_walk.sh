#!/usr/bin/env bash
# Runs the real game under a virtual X display and plays it with xdotool as
# a person would: intro movies (Esc) -> logos (a key) -> main menu -> single
# player -> scenario menu -> back (Esc) -> single player again -> the test
# scenario (double click) -> loading screen -> scenario settings (one
# country made human) -> start -> the map screen, scrolled with the arrow
# keys and zoomed with the wheel -> pause menu (Esc) -> exit. The game runs
# in a folder of its own whose only scenario is the test fixture. The
# program saves a picture of every menu and of the map screen at each zoom
# (TW_SCREENSHOT_DIR) and prints how long it took from its start to the
# first drawn main-menu frame; afterwards ConsoleOut.txt must hold the
# expected lines in order.
#
#   scripts/menu_walk.sh [build folder] [output folder]
set -uo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
out="${2:-$build/menu_walk}"
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
# The display's own libraries keep allocations until the process ends.
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
mkdir -p "$out"
rm -f "$out"/*.png "$out/ConsoleOut.txt" "$out/game.out"

# A run folder of its own: the game's data with the fixture as the only
# scenario, the built language base and fresh settings.
run="$out/run"
rm -rf "$run"
mkdir -p "$run/data/scenarios"
for entry in "$here"/data/*; do
  [ "$(basename "$entry")" = scenarios ] || ln -s "$entry" "$run/data/$(basename "$entry")"
done
ln -s "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"
ln -s "$build/run/lang_ENG.db" "$run/lang_ENG.db"
cp "$here/data/Settings.ini" "$run/Settings.ini"

# Control centres from the layout source (id x y width height).
layout="$here/tools/make_layout/layout_1024x768.txt"
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$layout"; }
corner() { awk -v id="$1" '$1 == id { print $2, $3; exit }' "$layout"; }
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r countries_x countries_y < <(corner 216)
read -r human_x human_y < <(corner 225)
read -r start_x start_y < <(centre 245)
read -r exit_x exit_y < <(centre 276)
# The first entry of the scenario list; the second row of the countries
# list ("Neutralia", sorted by name) joins Westland, the fixture's human
# country; both move after the computer countries of the Axis.
entry_x=$((list_x + 60)); entry_y=$((list_y + 12))
country_x=$((countries_x + 60)); country_y=$((countries_y + 46))
human_x=$((human_x + 12)); human_y=$((human_y + 13))

# The screen is larger than the window so that the whole window, wherever
# it is placed, can be clicked.
xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$run" "$out" "$game" \
  "$single_x $single_y" "$entry_x $entry_y" "$country_x $country_y" "$human_x $human_y" \
  "$start_x $start_y" "$exit_x $exit_y" <<'INNER'
set -u
run="$1"; out="$2"; game="$3"
read -r single_x single_y <<<"$4"; read -r entry_x entry_y <<<"$5"; read -r country_x country_y <<<"$6"
read -r human_x human_y <<<"$7"; read -r start_x start_y <<<"$8"; read -r exit_x exit_y <<<"$9"
cd "$run"
export TW_SCREENSHOT_DIR="$out" SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
"$game" >"$out/game.out" 2>&1 &
pid=$!

# Waits (up to $2 tenths of a second) for a line in the program's output.
await() {
  for _ in $(seq 1 "$2"); do
    grep -q "$1" "$out/game.out" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
win=""
for _ in $(seq 1 100); do
  win="$(xdotool search --name "Tidewrack v1.01" 2>/dev/null | head -n1)"
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "no game window" >&2; kill "$pid"; exit 1; }
xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win"

# Movies and logos: Esc ends a movie, any key a logo; keep pressing until
# the main menu has been drawn.
for _ in $(seq 1 100); do
  grep -q "first main-menu frame" "$out/game.out" && break
  xdotool key --window "$win" Escape
  sleep 0.1
done
await "_cMainMenu.png" 50 || { echo "main menu not shown" >&2; kill "$pid"; exit 1; }

fail() { echo "$1" >&2; kill "$pid" 2>/dev/null; exit 1; }
# Waits until the program has saved its n-th picture of a screen.
await_shot() {
  for _ in $(seq 1 "${3:-50}"); do
    [ "$(grep -c "_$1.png" "$out/game.out")" -ge "$2" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
xdotool mousemove --window "$win" "$single_x" "$single_y" click 1
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
xdotool key --window "$win" Escape
await_shot cMainMenu 2 || fail "main menu not shown again"
xdotool mousemove --window "$win" "$single_x" "$single_y" click 1
await_shot cScenarioMenu 2 || fail "scenario menu not shown again"
xdotool mousemove --window "$win" "$entry_x" "$entry_y" click --repeat 2 --delay 80 1
await_shot cScenarioSettingsMenu 1 100 || fail "scenario settings not shown"
xdotool mousemove --window "$win" "$country_x" "$country_y" click 1
sleep 0.3
xdotool mousemove --window "$win" "$human_x" "$human_y" click 1
sleep 0.3
xdotool mousemove --window "$win" "$start_x" "$start_y" click 1
# The country whose turn begins is greeted; Enter dismisses the greeting.
await_shot MapScreen_cDialogNowejTury 1 100 || fail "new-turn greeting not shown"
xdotool key --window "$win" Return
await_shot MapScreen 1 100 || fail "map screen not shown"
# Scroll: hold two arrow keys a moment; zoom: one wheel step out.
xdotool mousemove --window "$win" 400 400
xdotool keydown --window "$win" Right Down
sleep 0.6
xdotool keyup --window "$win" Right Down
xdotool click --window "$win" 5
await_shot MapScreen 2 100 || fail "map screen not shown at the new zoom"
xdotool key --window "$win" Escape
await_shot cPauseMenu 1 || fail "pause menu not shown"
xdotool mousemove --window "$win" "$exit_x" "$exit_y" click 1
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the game did not exit" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
INNER
rc=$?
cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
cat "$out/game.out" 2>/dev/null | grep -E "first main-menu frame|screenshot" || true
if [ "$rc" -ne 0 ]; then
  echo "menu walk FAILED (exit $rc)" >&2
  exit 1
fi

# The log is UTF-16LE; the expected lines must appear in this order.
log="$(iconv -f UTF-16LE -t UTF-8 "$out/ConsoleOut.txt" | tr -d '\r')"
expected=(
  "Running Tidewrack v1.01"
  "Loading intro movie from dataintro.avi"
  "Loading intro movie from dataintro2.avi"
  "Loading intro movie from dataintro3.avi"
  "-- Setting callbacks"
  "----- Main Menu -----"
  "-- Deleting old menu"
  "-- Setting callbacks"
  "----- SinglePlayer Menu -----"
  "-- Deleting old menu"
  "-- Setting callbacks"
  "----- Main Menu -----"
  "----- SinglePlayer Menu -----"
  "----- Loading -----"
  " Progress = 5%"
  " Progress = 50%"
  " Progress = 100%"
  "-- Loading new scenario done!"
  "---- Game state = 1"
  "Creating next menu"
  "----- Scenario Settings Menu -----"
  "============== Starting game =============="
  "============== Enjoy your game :)"
  "---- Game state = 9"
  "==== STARTING AI THREAD ====="
  "==== AI THREAD FINISHED ====="
  "---- Game state = 7"
  "----- Pause Menu -----"
  "---- Game state = 2"
  "---- Game state = 15"
)
rest="$log"
for line in "${expected[@]}"; do
  tail="${rest#*"$line"}"
  if [ "$tail" = "$rest" ]; then
    echo "menu walk FAILED: \"$line\" missing or out of order in ConsoleOut.txt" >&2
    exit 1
  fi
  rest="$tail"
done
echo "menu walk ok: pictures in $out"
