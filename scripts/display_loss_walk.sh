#!/usr/bin/env bash
# The display lost under a running game: the game's window killed by the
# window system (xdotool windowkill) in the player's turn, the X server
# itself ended in the computer's turn, while the worker thread plays, and
# the window destroyed by another program (xdotool windowclose: the game's
# next requests on it fail) in the player's turn and at the intro. Each
# time the game must end by its own path: exit status 1 (not the abort of a
# thread object destroyed at exit, 134, nor Xlib's own exit without a log
# line), the log's last line saying that the display was lost, and no
# sanitizer report or "terminate called".
#
# The walk runs its own virtual X server (on TW_XVFB_DISPLAY, else :99), so
# that it can end that server and no other.
#
#   scripts/display_loss_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "display loss walk" "$@"
skip_without Xvfb
display="${TW_XVFB_DISPLAY:-99}"

walk_make_run
cp -r "$here/tests/data/fixture_scenario/Fixture" "$run/data/scenarios/Fixture"
# The computer's steps slow enough that the server ends during one.
printf '\nAIMoveBetween=500\n' >>"$run/Settings.ini"

# The game started up to its intro: the window shown and the intro's first
# movie loaded. Sets pid and win.
start_to_intro() {
  cd "$run" || exit 1
  export TW_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
  await_display
  "$game" >"$out/game.out" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 900); do
    win="$(xdotool search --onlyvisible --name "Tidewrack v1.01" 2>/dev/null | head -n1)"
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || fail "no game window"
  await_log "intro movie" 1 600 || fail "no intro"
}

# Plays one case on a fresh server; its outcome in "$out/<case>.status".
#   lose_display CASE windowkill|windowclose|server intro|player|computer
lose_display() {
  local name="$1" how="$2" when="$3" server
  Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
  done
  (
    export DISPLAY=":$display"
    fail_prefix="$walk_name: $name: "
    if [ "$when" = intro ]; then
      start_to_intro
    else
      walk_start "$walk_name" "$here" "$run" "$out" "$game"
    fi
    if [ "$when" = player ]; then
      start_fixture_game
    elif [ "$when" = computer ]; then
      open_fixture_game
      await_log "---- Game state = 10" 1 600 || fail "no computer move seen"
    fi
    case "$how" in
      windowkill) xdotool windowkill "$win" ;;
      windowclose) xdotool windowclose "$win" ;;
      server) kill "$server" ;;
    esac
    await_exit 300
    echo "$?" >"$out/$name.status"
    # The intro's case must have ended before the main menu.
    if [ "$when" = intro ] && grep -q "first main-menu frame" "$out/game.out"; then
      echo "the main menu came before the window was destroyed" >"$out/$name.status"
    fi
  )
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  cp "$run/ConsoleOut.txt" "$out/ConsoleOut_$name.txt" 2>/dev/null
  cp "$out/game.out" "$out/game_$name.out"
}

failed=0
check_case() {
  local name="$1" status last
  status="$(cat "$out/$name.status" 2>/dev/null || echo none)"
  last="$(iconv -f UTF-16LE -t UTF-8 "$out/ConsoleOut_$name.txt" 2>/dev/null | tr -d '\r' | tail -n 1)"
  echo "$name: exit status $status; the log's last line: $last"
  if [ "$status" != 1 ] || [ "$last" != "ERROR: The connection to the display was lost: the game ends" ] ||
    grep -q -E "terminate called|ERROR: AddressSanitizer|runtime error" "$out/game_$name.out"; then
    echo "$walk_name FAILED: $name" >&2
    failed=1
  fi
}

lose_display player_windowkill windowkill player
check_case player_windowkill
lose_display computer_server server computer
check_case computer_server
lose_display player_windowclose windowclose player
check_case player_windowclose
lose_display intro_windowclose windowclose intro
check_case intro_windowclose
[ "$failed" -eq 0 ] || exit 1
echo "display loss walk ok: logs in $out"
