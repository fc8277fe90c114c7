#!/usr/bin/env bash
# The game's peak memory under a virtual X display, as /usr/bin/time -v
# reads it (Maximum resident set size): a copy of Europe 1939 with
# Switzerland as the human country; the game starts, the computer
# countries move, and the player ends three turns (q, Enter), each followed
# by the next impulse's greeting (an event shown at the end of an impulse
# gets its first option). Then Esc, pause menu, exit. RENDERER picks SDL's
# renderer: software (the default) or opengl (Mesa's GL under Xvfb); default
# asks for none, as scripts/play.sh starts the game.
#
#   RENDERER=opengl scripts/peak_memory_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "peak memory walk" "$@"
skip_without /usr/bin/time

walk_make_europe_run 14 Switzerland
rm -f "$out/time.txt"
export PEAK_RENDERER="${RENDERER:-software}"

walk_play <<'INNER'
set -u
source "$1"
walk_name="$2"; here="$3"; run="$4"; out="$5"; game="$6"
fail_prefix="$walk_name: "
layout="$here/tools/make_layout/layout_1024x768.txt"
cd "$run" || exit 1
export TW_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy
if [ "$PEAK_RENDERER" = default ]; then unset SDL_RENDER_DRIVER; else export SDL_RENDER_DRIVER="$PEAK_RENDERER"; fi
# The game under time(1), which reports its peak; pid is the game's own.
walk_launch() {
  /usr/bin/time -v -o "$out/time.txt" "$game" >"$out/game.out" 2>&1 &
  timed=$!
  pid=""
  for _ in $(seq 1 100); do
    pid="$(pgrep -P "$timed")" && break
    sleep 0.05
  done
  [ -n "$pid" ] || fail "the game did not start"
}
await_display
walk_launch
walk_await_main_menu
open_fixture_game
await_shot MapScreen_cDialogNowejTury 1 3000 || fail "no greeting for Switzerland"
key Return
await_shot MapScreen 1 || fail "map screen not shown after the greeting"
move_mouse 600 300
sleep 2
for impulse in 1 2 3; do
  greetings=$(shots MapScreen_cDialogNowejTury)
  events=$(shots EndOfImpulse_cDialogEventu)
  key q
  await_shot MapScreen_cDialogPotwKoncaTury "$impulse" || fail "no end-turn question ($impulse)"
  key Return
  for _ in $(seq 1 6000); do
    [ "$(shots MapScreen_cDialogNowejTury)" -gt "$greetings" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended"
    if [ "$(shots EndOfImpulse_cDialogEventu)" -gt "$events" ]; then
      events=$(shots EndOfImpulse_cDialogEventu)
      id="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt | tr -d '\r' | sed -n 's/.*Event fired (ID=\([0-9]*\) .*/\1/p' | tail -n1)"
      read -r option_x option_y < <(event_first_option "$id") || fail "no place for the first option of event $id"
      click "$option_x" "$option_y"
    fi
    sleep 0.1
  done
  [ "$(shots MapScreen_cDialogNowejTury)" -gt "$greetings" ] || fail "no greeting after impulse $impulse"
  key Return
  sleep 1
done
# quit_game waits for the game; here it is the timer's child.
read -r exit_x exit_y < <(centre 276)
key Escape
await_shot cPauseMenu 1 300 || fail "pause menu not shown"
click "$exit_x" "$exit_y"
wait "$timed"
INNER
rc=$?
walk_ended "$rc"
peak="$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$out/time.txt")"
[ -n "$peak" ] || { echo "peak memory walk FAILED: no figure" >&2; exit 1; }
echo "peak memory walk ok ($PEAK_RENDERER): maximum resident set size $peak kB"
