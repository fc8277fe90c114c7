# shellcheck shell=bash
# The steps shared by the scripts that run the game under a virtual X display
# (Xvfb) and play it with xdotool: menu_walk.sh, land_turn.sh, unit_panel.sh,
# fleets_dialog.sh, save_walk.sh;
# window_check.sh uses the preamble. Sourced, never run on its own.
#
# A walk script sources this file twice: once itself, for the preamble, the
# run folder and the checks of the log afterwards, and once inside the virtual
# display, where its steps (a here-document read by walk_play) begin with
#
#   source "$1"
#   walk_start "${@:2}"
#
# and then find the game's window, click, press keys and wait for its
# pictures and log lines with the functions below.

# --- Preamble -------------------------------------------------------------

# Ends the script with exit 0 and a note when a tool it needs is missing.
skip_without() {
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "skipped: $1 not installed"
  exit 0
}

# xvfb-run's choice of display: TW_XVFB_DISPLAY when set (walks run side by
# side, and xvfb-run's own search for a free display races), else the
# first free one.
xvfb_display() {
  if [ -n "${TW_XVFB_DISPLAY:-}" ]; then echo "-n $TW_XVFB_DISPLAY"; else echo "-a"; fi
}

# Ends the script with exit 1 when a program has not been built.
#   need_built PROGRAM NAME BUILD_FOLDER NINJA_TARGETS
need_built() {
  [ -x "$1" ] && return 0
  echo "$2 not built: $1 (ninja -C $3 $4)" >&2
  exit 1
}

# In a sanitizer build the display's own libraries (D-Bus, the GL driver)
# keep allocations until the process ends; the unit tests check our leaks.
ignore_display_leaks() {
  export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
}

# The preamble of a walk: sets here (the source tree), build, out (the output
# folder, by default the script's name in the build folder), game and run
# (the private run folder); skips without xvfb-run, xdotool or xdpyinfo,
# stops when the game is not built; empties the output folder of an earlier
# walk's files. The starts of the game tried again are recorded, one reason a
# line, in TW_WALK_RETRIES (the test command names a file per walk), else in
# walk-retries.txt of the output folder.
#   walk_setup NAME [build folder] [output folder]
walk_setup() {
  walk_name="$1"
  here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  build="$(cd "${2:-$here/build}" && pwd)"
  out="${3:-$build/$(basename "$0" .sh)}"
  game="$build/run/tidewrack"
  run="$out/run"
  skip_without xvfb-run
  skip_without xdotool
  skip_without xdpyinfo
  need_built "$game" game "$build" "tidewrack language_base"
  ignore_display_leaks
  mkdir -p "$out"
  rm -f "$out"/*.png "$out"/ConsoleOut*.txt "$out/game.out" "$out/game.first.out"
  export TW_WALK_RETRIES="${TW_WALK_RETRIES:-$out/walk-retries.txt}"
  rm -f "$TW_WALK_RETRIES"
}

# A fresh run folder: every entry of the game's data linked but the
# scenarios (an empty folder, the walk puts its scenario there) and the
# saves, the built language base and the shipped settings with short
# computer delays.
walk_make_run() {
  local entry
  rm -rf "$run"
  mkdir -p "$run/data/scenarios"
  for entry in "$here"/data/*; do
    case "$(basename "$entry")" in scenarios|save) ;; *) ln -s "$entry" "$run/data/$(basename "$entry")" ;; esac
  done
  ln -s "$build/run/lang_ENG.db" "$run/lang_ENG.db"
  cp "$here/data/Settings.ini" "$run/Settings.ini"
  # The computer's watched actions paced briefly (a second a step by
  # default); a walk's own [Delay] section, appended later, overrides these.
  cat >>"$run/Settings.ini" <<'INI'
[Delay]
AIMoveBefore=20
AIMoveBetween=20
AIMoveAfter=20
AICombatBefore=20
AICombatAfter=20
AICombatResult=300
AIDeployBefore=20
AIDeployAfter=20
AIReplacementBefore=20
AIReplacementAfter=20
INI
}

# A run folder whose only scenario is a copy of Europe 1939 with one
# country human (its id and name as "countries.csv" has them); sets
# scenario. Ends the script when the copy could not be prepared.
#   walk_make_europe_run ID NAME
walk_make_europe_run() {
  walk_make_run
  mkdir -p "$run/data/save"
  scenario="$run/data/scenarios/Europe1939"
  cp -r "$here/data/scenarios/Europe1939" "$scenario"
  make_country_human "$scenario/countries.csv" "$1" "$2"
}

# Sets the "Human controlled?" flag of one country (its id and name as
# "countries.csv" has them); ends the script when the file holds no such row.
#   make_country_human COUNTRIES_CSV ID NAME
make_country_human() {
  sed -i -e "s/^\($2;1;$3;\([^;]*;\)\{10\}\)0;/\\11;/" "$1"
  grep -q "^$2;1;$3;\([^;]*;\)\{10\}1;" "$1" ||
    { echo "$walk_name: $3 could not be made human in $1" >&2; exit 1; }
}

# The same with Germany (1) human.
walk_make_europe_germany_run() { walk_make_europe_run 1 Germany; }

# Runs the steps read from standard input under Xvfb. The screen is larger
# than the window so that the whole window, wherever it is placed, can be
# clicked; a walk may set walk_screen (WIDTHxHEIGHT) for another screen.
walk_play() {
  # xvfb-run ends without waiting for its server: a walk that plays twice on
  # its display waits until the last server has left it.
  if [ -n "${TW_XVFB_DISPLAY:-}" ]; then
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X$TW_XVFB_DISPLAY-lock" ] || break
      sleep 0.1
    done
  fi
  xvfb-run $(xvfb_display) -s "-screen 0 ${walk_screen:-1600x1200}x24" bash -s \
    "$here/scripts/xvfb_walk.sh" "$walk_name" "$here" "$run" "$out" "$game"
}

# Freezes the land units of the countries given (frozen for the whole walk,
# no action points) in a scenario's land_units.csv: the computer still plays
# their turns, but a walk that placed them for the player's actions finds
# them where it put them.
#   freeze_land_units LAND_UNITS_CSV COUNTRY_ID...
freeze_land_units() {
  local file="$1"; shift
  awk -v ids=" $* " 'BEGIN { FS = OFS = ";" }
    /^#/ || index(ids, " " $3 " ") == 0 { print; next }
    { $9 = 0; $19 = 99; print }' "$file" >"$file.frozen" && mv "$file.frozen" "$file"
}

# After the play: keeps the run's log in the output folder; a failed play
# ends the script with exit 1.
#   walk_ended EXIT_STATUS_OF_THE_PLAY
walk_ended() {
  cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
  [ "$1" -eq 0 ] && return 0
  echo "$walk_name FAILED (exit $1)" >&2
  exit 1
}

# Returns 1, naming the first missing one, unless the log (UTF-16LE) holds
# the lines in this order.
#   check_lines LOG LINE...
check_lines() {
  local file="$1"; shift
  local missing
  # One pass over the text (a shell pattern over a log of thousands of lines
  # takes seconds per line looked for).
  missing="$(python3 - "$file" "$@" <<'PY'
import sys
text = open(sys.argv[1], "rb").read().decode("utf-16-le", errors="replace").replace("\r", "")
at = 0
for line in sys.argv[2:]:
    found = text.find(line, at)
    if found < 0:
        print(line)
        break
    at = found + len(line)
PY
)" || missing="(the log could not be read)"
  if [ -n "$missing" ]; then
    echo "$walk_name FAILED: \"$missing\" missing or out of order in $(basename "$file")" >&2
    return 1
  fi
}

# --- Inside the virtual display --------------------------------------------

# Starts the game in the run folder with its pictures saved to the output
# folder, finds its window and presses Esc (ends a movie, any key ends a
# logo) until the main menu has been drawn. Sets pid and win.
#   walk_start NAME SOURCE_TREE RUN_FOLDER OUTPUT_FOLDER GAME
walk_start() {
  walk_name="$1"; here="$2"; run="$3"; out="$4"; game="$5"
  # What fail puts before its message; a walk may set its own first.
  fail_prefix="${fail_prefix-$walk_name: }"
  layout="$here/tools/make_layout/layout_1024x768.txt"
  cd "$run" || exit 1
  export TW_SCREENSHOT_DIR="$out" SDL_AUDIODRIVER=dummy
  # The software renderer unless the walk asks for another; "default"
  # leaves the choice to the game, as a player's start does.
  case "${TW_WALK_RENDERER:-software}" in
    default) unset SDL_RENDER_DRIVER ;;
    *) export SDL_RENDER_DRIVER="${TW_WALK_RENDERER:-software}" ;;
  esac
  # X11 only: the walk's display is the virtual X server, whatever other
  # display (a Wayland session) the environment names.
  export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-x11}"
  await_display
  walk_launch
  walk_await_main_menu
}

# Returns once the X display (DISPLAY) accepts a connection; ends the walk
# when it has not within 30 s.
await_display() {
  local until=$((SECONDS + 30))
  until timeout 5 xdpyinfo >/dev/null 2>&1; do
    if [ "$SECONDS" -ge "$until" ]; then
      echo "$walk_name: the display $DISPLAY accepted no connection in 30 s" >&2
      exit 1
    fi
    sleep 0.1
  done
}

# The game's "no display" line when a start that ended before its window was
# shown may be tried again: the game ended by its own path (exit 1) with that
# line, and without a sanitizer report. Returns 1 otherwise (another exit, a
# crash by a signal, a report, no such line).
#   retry_reason EXIT_STATUS
retry_reason() {
  [ "$1" -eq 1 ] || return 1
  grep -E -q 'ERROR: (Address|Leak|Undefined|Thread|Memory)Sanitizer|ThreadSanitizer|runtime error:' \
    "$out/game.out" && return 1
  grep -m1 '^ERROR: no display: ' "$out/game.out"
}

# Starts the game in the background with its output in game.out; sets pid.
walk_launch() {
  "$game" >"$out/game.out" 2>&1 &
  pid=$!
}

# Finds the started game's window and presses Esc (ends a movie, any key
# ends a logo) until the main menu has been drawn. Sets win.
walk_await_main_menu() {
  win=""
  # Only a shown window: the game makes its window hidden, and SDL may make
  # it again (as a window for OpenGL) before it is shown; the first one is
  # gone by then. Up to 90 s by the clock: walks start side by side beside
  # the other builds, and a loaded machine has taken over 30 s to show the
  # sanitizer build's first frame.
  # The game starts only once the display accepts connections; should it
  # still find no display (its "no display" line, exit 1), the start is
  # tried once more, said so and recorded (the test command's summary lists
  # every retry). Any other early end fails the walk.
  local until=$((SECONDS + 90)) tries=1 status reason
  while [ "$SECONDS" -lt "$until" ]; do
    win="$(xdotool search --onlyvisible --name "Tidewrack v1.01" 2>/dev/null | head -n1)"
    [ -n "$win" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; status=$?
      if ! reason="$(retry_reason "$status")" || [ "$tries" -ge 2 ]; then
        tail -n 20 "$out/game.out" >&2
        fail "the game ended (exit $status) before its window was shown${reason:+, twice}"
      fi
      echo "$walk_name: the game ended before its window was shown ($reason); started again" >&2
      echo "$reason" >>"${TW_WALK_RETRIES:-$out/walk-retries.txt}"
      mv "$out/game.out" "$out/game.first.out"
      tries=2
      await_display
      walk_launch
    fi
    sleep 0.1
  done
  [ -n "$win" ] || fail "no game window"
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win"
  until=$((SECONDS + 90))
  while [ "$SECONDS" -lt "$until" ]; do
    grep -q "first main-menu frame" "$out/game.out" && break
    xdotool key --window "$win" Escape
    sleep 0.1
  done
}

# Ends the walk with a message: the game is stopped, the play fails.
fail() { echo "$fail_prefix$1" >&2; kill "$pid" 2>/dev/null; exit 1; }

# Control centres and top-left corners from the layout source (id x y width
# height), as "x y".
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' "$layout"; }
corner() { awk -v id="$1" '$1 == id { print $2, $3; exit }' "$layout"; }

# The screen point of a hex's middle for the map view the program printed
# with its last map picture: columns are 83 map pixels apart, rows 98, even
# columns 49 lower; the view's centre is the middle of the 1024 x 768 screen.
#   hex COLUMN ROW
hex() {
  awk -v c="$1" -v r="$2" '/^map view / { x = $3; y = $4; z = $5 } END {
    px = 83 * c + 48; py = 98 * r + 49 + (c % 2 == 0 ? 49 : 0)
    printf "%d %d\n", 512 + (px - x + 30) * z, 384 + (py - y + 36) * z }' "$out/game.out"
}

# Drags the map so that its view centres on the hex (the view's centre is
# the hex's middle in map pixels: 83 x COLUMN + 78, 98 x ROW + 85, 49 more
# on even columns), in strokes of at most 300 pixels that stay on the
# screen, each waited for until the map is pictured after it.
#   drag_view_to COLUMN ROW
drag_view_to() {
  local tx=$((83 * $1 + 78)) ty=$((98 * $2 + 85 + ($1 % 2 == 0 ? 49 : 0))) vx vy zoom dx dy from_x from_y n stroke
  for stroke in 1 2 3 4 5; do
    read -r vx vy zoom < <(awk '/^map view / { x = $3; y = $4; z = $5 } END { print x, y, z }' "$out/game.out")
    awk -v x="$vx" -v y="$vy" -v tx="$tx" -v ty="$ty" 'BEGIN {
      exit !(x > tx - 60 && x < tx + 60 && y > ty - 60 && y < ty + 60) }' && break
    read -r dx dy < <(awk -v x="$vx" -v y="$vy" -v z="$zoom" -v tx="$tx" -v ty="$ty" 'BEGIN {
      dx = (x - tx) * z; dy = (y - ty) * z
      printf "%d %d\n", dx < -300 ? -300 : (dx > 300 ? 300 : dx), dy < -300 ? -300 : (dy > 300 ? 300 : dy) }')
    from_x=$((dx < 0 ? 700 : 400)); from_y=$((dy < 0 ? 650 : 380))
    xdotool mousemove --window "$win" "$from_x" "$from_y" mousedown 1
    for step in $(seq 1 10); do
      xdotool mousemove --window "$win" $((from_x + dx * step / 10)) $((from_y + dy * step / 10))
      sleep 0.05
    done
    xdotool mouseup 1
    n=$(shots MapScreen)
    for i in $(seq 1 40); do
      [ "$(shots MapScreen)" -gt "$n" ] && break
      move_mouse 600 $((300 + i % 2))
      sleep 0.1
    done
    await_shot MapScreen $((n + 1)) 1 || fail "the map not pictured after the drag"
  done
  awk -v tx="$tx" -v ty="$ty" '/^map view / { x = $3; y = $4 } END {
    exit !(x > tx - 60 && x < tx + 60 && y > ty - 60 && y < ty + 60) }' "$out/game.out" ||
    fail "the drag did not bring hex ($1, $2) to the middle ($(grep '^map view' "$out/game.out" | tail -n1))"
  sleep 1
}

# The centre of the first option button of the Europe 1939 event with the
# id, as the event dialog places it: the event found by its id in the
# scenario's event files, the dialog's height and offset as the dialog
# computes them from layout entries 780 to 786, the option count and the
# picture.
#   event_first_option EVENT_ID
event_first_option() {
  python3 - "$1" "$run" "$layout" <<'PY'
import os, sys
import xml.etree.ElementTree as ET
event_id, run, layout = sys.argv[1], sys.argv[2], sys.argv[3]
rect = {}
for line in open(layout, encoding="utf-8"):
    f = line.split()
    if len(f) >= 5 and f[0].isdigit() and 780 <= int(f[0]) <= 786:
        rect[int(f[0])] = [int(v) for v in f[1:5]]
scenario = os.path.join(run, "data", "scenarios", "Europe1939")
event = None
for name in open(os.path.join(scenario, "event_files.txt"), encoding="utf-8", errors="replace"):
    name = name.strip()
    if not name or name.startswith(";"):
        continue
    path = os.path.join(run, name.replace("\\", "/"))
    if not os.path.exists(path):
        path = os.path.join(scenario, os.path.basename(name.replace("\\", "/")))
    for e in ET.parse(path).getroot().iter("event"):
        if e.get("eventID") == event_id and event is None:
            event = e
if event is None:
    sys.exit("event %s not found" % event_id)
options = event.find("options")
count = len(options.findall("option")) if options is not None else 0
image = (event.findtext("image") or "").strip()
picture = bool(image) and os.path.isfile(os.path.join(run, "data", "events", image))
t, m, p, b, row = rect[781], rect[783], rect[784], rect[785], rect[786]
side = min(p[2], p[3])
content = max(m[1] + m[3], b[1] + count * row[3])
if picture:
    content = max(content, p[1] + (p[3] - side) // 2 + side)
total = content + t[1]
dy = (rect[780][1] + rect[780][3]) // 2 - total // 2
print(b[0] + b[2] // 2, b[1] + dy + b[3] // 2)
PY
}

# Keys, the mouse and clicks in the game's window.
key() { xdotool key --window "$win" "$@"; }
move_mouse() { xdotool mousemove --window "$win" "$1" "$2"; }
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
double_click() { xdotool mousemove --window "$win" "$1" "$2" click --repeat 2 --delay 80 1; }

# Waits (up to TENTHS tenths of a second, 30 s if not given) until COUNTER
# WHAT reaches N; returns 1 if the game has ended or the time is up. The
# default is generous: on a loaded machine the sanitizer build draws the
# twenty frames before a picture is saved in several seconds.
#   await_count COUNTER WHAT N [TENTHS]
await_count() {
  for _ in $(seq 1 "${4:-300}"); do
    [ "$("$1" "$2")" -ge "$3" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# How many pictures of a screen the program has saved.
shots() { grep -c "_$1.png" "$out/game.out"; }
# Waits until the program has saved its n-th picture of a screen.
#   await_shot SCREEN N [TENTHS]
await_shot() { await_count shots "$@"; }
# The newest picture of a screen, kept under a name of its own.
#   keep SCREEN FILE_NAME
keep() { cp "$(ls -t "$out"/*_"$1".png | head -n1)" "$out/$2"; }

# How many log lines hold the text (ConsoleOut.txt is UTF-16LE).
log_count() { iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt 2>/dev/null | grep -c -F -e "$1"; }
# Waits for the n-th log line holding the text.
#   await_log TEXT N [TENTHS]
await_log() { await_count log_count "$@"; }

# From the main menu into the fixture's first turn: single player, the
# scenario list's first entry (double click), start as the settings stand,
# the computer countries move, Enter closes the new-turn greeting, Tab
# selects the first unit that can move; returns once the view has glided to
# it and rests.
# The main menu -> the scenario menu -> the fixture's settings -> its start.
open_fixture_game() {
  local single_x single_y list_x list_y start_x start_y
  read -r single_x single_y < <(centre 71)
  read -r list_x list_y < <(corner 179)
  read -r start_x start_y < <(centre 245)
  await_shot cMainMenu 1 || fail "main menu not shown"
  click "$single_x" "$single_y"
  await_shot cScenarioMenu 1 || fail "scenario menu not shown"
  double_click $((list_x + 60)) $((list_y + 12))
  await_shot cScenarioSettingsMenu 1 || fail "scenario settings not shown"
  click "$start_x" "$start_y"
}

start_fixture_game() {
  local n
  open_fixture_game
  await_shot MapScreen_cDialogNowejTury 1 600 || fail "no new-turn greeting after the computer countries"
  key Return
  await_shot MapScreen 1 || fail "map screen not shown after the greeting"
  move_mouse 600 300
  n=$(shots MapScreen_range)
  key Tab
  await_shot MapScreen_range $((n + 1)) || fail "Tab selected nothing"
  sleep 2  # the view glides to the unit; its resting place is pictured
}

# The same for a walk whose human country moves first in the impulse: its
# turn begins at once, without the computer phase and its greeting.
start_fixture_game_first_country() {
  open_fixture_game
  await_shot MapScreen 1 || fail "map screen not shown"
  move_mouse 600 300
  sleep 1
}

# Esc, the pause menu (waited for up to TENTHS tenths of a second, 8 s if not
# given), its exit button; returns the game's exit status once it has ended,
# fails if it has not within 10 s.
#   quit_game [TENTHS]
quit_game() {
  open_pause_menu "$@"
  exit_from_pause_menu
}

# Esc and the pause menu's first picture (waited for up to TENTHS tenths of a
# second, 8 s if not given).
#   open_pause_menu [TENTHS]
open_pause_menu() {
  key Escape
  await_shot cPauseMenu 1 "${1:-80}" || fail "pause menu not shown"
}

# The open pause menu's exit button, as quit_game.
exit_from_pause_menu() {
  local exit_x exit_y
  read -r exit_x exit_y < <(centre 276)
  click "$exit_x" "$exit_y"
  await_exit
}

# Returns the game's exit status once it has ended; fails if it has not
# within TENTHS tenths of a second (10 s if not given).
#   await_exit [TENTHS]
await_exit() {
  for _ in $(seq 1 "${1:-100}"); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the game did not exit"
  wait "$pid"
}
