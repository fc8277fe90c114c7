#!/usr/bin/env bash
# The map at every zoom, to be looked at: a copy of Europe 1939 with Germany
# human (it moves first), the view dragged to a hex (Danzig, where counters
# stand on cities and by the coast, unless one is given), zoomed in to
# 100 % with the numpad's +, then numpad - one notch at a time down to the
# farthest zoom; the game's picture of the map at each zoom it settles on is
# kept as zoom_<notch>_<per cent>.png. Whether a counter covers a city's
# name, or a name is too small to read, is for the eye (the skin tables'
# bands themselves are checked by the test SkinsData).
#
# A by-hand walk (not part of the test command); it takes some minutes.
#
#   scripts/zoom_walk.sh [build folder] [output folder] [column row]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "zoom walk" "${1:-}" "${2:-}"
walk_make_europe_germany_run
export ZOOM_COLUMN="${3:-48}" ZOOM_ROW="${4:-20}"

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"
start_fixture_game_first_country
drag_view_to "$ZOOM_COLUMN" "$ZOOM_ROW"
move_mouse 600 740
# The view zooms about the middle of the screen; the level counts notches
# of 1 % of the way to the farthest zoom (5 % in its far quarter).
zoom_of_last_picture() { awk '/^map view / { z = $5 } END { printf "%d", z * 100 + 0.5 }' "$out/game.out"; }
# The same in thousandths of a per cent, to tell two notches apart.
scale_of_last_picture() { awk '/^map view / { z = $5 } END { printf "%d", z * 100000 }' "$out/game.out"; }
for _ in $(seq 1 12); do key KP_Add; sleep 0.2; done
for _ in $(seq 1 100); do
  [ "$(zoom_of_last_picture)" -eq 100 ] && break
  sleep 0.1
done
[ "$(zoom_of_last_picture)" -eq 100 ] || fail "the map not pictured at 100 %"
notch=0
while :; do
  sleep 1
  cp "$(ls -t "$out"/*_MapScreen.png | head -n1)" "$out/zoom_$(printf %02d "$notch")_$(zoom_of_last_picture).png"
  before=$(scale_of_last_picture)
  n=$(shots MapScreen)
  key KP_Subtract
  # The farthest zoom takes no further notch: no new picture comes.
  await_shot MapScreen $((n + 1)) 40 || break
  [ "$(scale_of_last_picture)" -lt "$before" ] || break
  notch=$((notch + 1))
done
quit_game
INNER
rc=$?
walk_ended "$rc"
echo "zoom walk: $(ls "$out"/zoom_*.png | wc -l) zooms pictured in $out"
