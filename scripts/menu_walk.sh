#!/usr/bin/env bash
# Runs the real game under a virtual X display and walks its first screens
# with xdotool: intro movies (Esc) -> logos (a key) -> main menu -> single
# player (a click on its button) -> scenario menu -> back (Esc) -> exit (a
# click). The program saves a picture of every menu it shows
# (TW_SCREENSHOT_DIR) and prints how long it took from its start to the
# first drawn main-menu frame; afterwards ConsoleOut.txt must hold the
# expected lines in order.
#
#   scripts/menu_walk.sh [build folder] [output folder]
set -uo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
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

# Button centres from the layout source (id x y width height).
layout="$here/tools/make_layout/layout_1024x768.txt"
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$layout"; }
read -r start_x start_y < <(centre 71)
read -r exit_x exit_y < <(centre 74)

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$build/run" "$out" "$start_x" "$start_y" "$exit_x" "$exit_y" <<'INNER'
set -u
run="$1"; out="$2"; sx="$3"; sy="$4"; ex="$5"; ey="$6"
cd "$run"
export TW_SCREENSHOT_DIR="$out" SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy
./tidewrack >"$out/game.out" 2>&1 &
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

xdotool mousemove --window "$win" "$sx" "$sy" click 1
await "_cScenarioMenu.png" 50 || { echo "scenario menu not shown" >&2; kill "$pid"; exit 1; }

xdotool key --window "$win" Escape
# Back in the main menu: its second picture.
for _ in $(seq 1 50); do
  [ "$(grep -c "_cMainMenu.png" "$out/game.out")" -ge 2 ] && break
  sleep 0.1
done
xdotool mousemove --window "$win" "$ex" "$ey" click 1
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
cp "$build/run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
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
