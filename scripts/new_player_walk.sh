#!/usr/bin/env bash
# A new player's first three impulses, played by hand under a plain X server
# (Xvfb, 1024 x 768, no window manager) with xdotool, with the shipped
# Settings.ini as it stands: the game opens (its window must lie wholly on
# the screen) -> Single Player -> Europe 1939 -> Start -> in the scenario
# settings Germany is picked in the list and set to Human -> Start: Germany
# moves first ->
#   a click on Kiel: the port's fleets dialog -> Move fleet -> a click on the
#   Western Baltic: the Baltic Squadron sails out of port;
#   the map dragged east to Danzig -> a click on the Danzig garrison, a
#   click on the Polish Coastal Defence in Gdynia: an attack is set up -> a
#   click on it again: the battle, whose report must still be on the screen
#   5 s later;
#   a click on Luftflotte 1, the unit panel shown by its handle, its
#   bombardment icon: the targets are marked over their counters -> a click
#   on Army Pomorze: the strike and its report;
#   a click on Luftflotte 4, its reconnaissance icon -> a click on Gdynia:
#   the flight -> the mouse over Gdynia: the port's hover box with the ships
#   found there;
# -> Q, Enter: the turn ends, the computer countries move, the impulse ends
# (the events shown to Germany answered with their first option) ->
# Germany's greeting; the same twice more, then Esc, pause menu, exit.
#
# Pictures of the whole X screen (grabbed from the server, not from the
# game) are saved in the output folder: the main menu, the settings with
# Germany human (settings_seat), the map of each impulse with its date line (which must read
# 1 September 1939, 16 September 1939, 1 October 1939), the fleets dialog,
# the fleet at sea, the combat report 1 s and 5 s after the attack, the
# bombardment's marks and report, the reconnaissance's marks and findings,
# each greeting and event. timings.txt gives each round of the computer's
# turns: from the end of Germany's turn to its next greeting, with the time
# an event dialog waited for the player left out. The game's own pictures
# (TW_SCREENSHOT_DIR) go to the same folder.
#
# TW_SEAT names another country to play (as "countries.csv" names it, e.g.
# "United Kingdom"): the copy of the scenario has it human before the
# settings open, Start is pressed as they stand, the computer countries
# before it in the impulse move (timed as the round before the first turn)
# and its turns are ended at once, without Germany's moves above; a sea
# battle of its own on the screen is let run to its end (the time it waits
# for the player left out, as the events').
#
# A by-hand walk (not part of the test command); it takes some minutes.
#
#   [TW_SEAT=COUNTRY] [TW_WALK_RENDERER=default] scripts/new_player_walk.sh [build folder] [output folder]
# TW_XVFB_DISPLAY picks the display number (79 if not set); TW_WALK_RENDERER
# "default" starts the game without a renderer asked for, as a player does
# (the software renderer otherwise).
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "new player walk" "$@"
skip_without Xvfb
skip_without python3

# A run folder with the shipped data and the shipped settings, unchanged.
rm -rf "$run"
mkdir -p "$run/data/scenarios" "$run/data/save"
for entry in "$here"/data/*; do
  case "$(basename "$entry")" in scenarios|save) ;; *) ln -s "$entry" "$run/data/$(basename "$entry")" ;; esac
done
cp -r "$here/data/scenarios/Europe1939" "$run/data/scenarios/Europe1939"
ln -s "$build/run/lang_ENG.db" "$run/lang_ENG.db"
cp "$here/data/Settings.ini" "$run/Settings.ini"
rm -f "$out"/*.rgb "$out/timings.txt"
seat="${TW_SEAT:-Germany}"
if [ "$seat" != Germany ]; then
  seat_id="$(awk -F';' -v name="$seat" '$3 == name && $1 ~ /^[0-9]+$/ { print $1; exit }' \
    "$run/data/scenarios/Europe1939/countries.csv")"
  [ -n "$seat_id" ] || { echo "new player walk: no country $seat in Europe 1939" >&2; exit 1; }
  make_country_human "$run/data/scenarios/Europe1939/countries.csv" "$seat_id" "$seat"
fi

display=":${TW_XVFB_DISPLAY:-79}"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null' EXIT
export DISPLAY="$display"
for _ in $(seq 1 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
[ "$(xdotool getdisplaygeometry 2>/dev/null)" = "1024 768" ] ||
  { echo "new player walk: no 1024 x 768 X server on $display" >&2; exit 1; }

# The X screen as the player sees it, grabbed from the server with libX11:
# NAME.png and, for comparisons, NAME.rgb (raw RGB).
#   screen grab NAME | screen same A B X0 Y0 X1 Y1 | screen differs A B X0 Y0 X1 Y1
# "same" prints the share of pixels alike in both grabs within the box,
# in per cent.
screen() {
  python3 - "$out" "$@" <<'PY'
import ctypes, struct, sys, zlib
out, what = sys.argv[1], sys.argv[2]
W, H = 1024, 768
if what == "grab":
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XGetImage.restype = ctypes.c_void_p
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    class XImage(ctypes.Structure):
        _fields_ = [(n, ctypes.c_int) for n in ("width", "height", "xoffset", "format")] + \
                   [("data", ctypes.c_void_p)] + \
                   [(n, ctypes.c_int) for n in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad",
                                                "depth", "bytes_per_line", "bits_per_pixel")]
    d = x.XOpenDisplay(None)
    if not d:
        sys.exit("no X display")
    image = x.XGetImage(d, x.XDefaultRootWindow(d), 0, 0, W, H, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        sys.exit("no picture of the X screen")
    img = ctypes.cast(image, ctypes.POINTER(XImage)).contents
    raw = ctypes.string_at(img.data, img.bytes_per_line * H)
    rgb = bytearray(3 * W * H)
    for r in range(H):
        line = raw[r * img.bytes_per_line: r * img.bytes_per_line + 4 * W]
        row = rgb[3 * W * r: 3 * W * (r + 1)]
        row[0::3], row[1::3], row[2::3] = line[2::4], line[1::4], line[0::4]
        rgb[3 * W * r: 3 * W * (r + 1)] = row
    name = sys.argv[3]
    open("%s/%s.rgb" % (out, name), "wb").write(rgb)
    rows = b"".join(b"\0" + bytes(rgb[3 * W * r: 3 * W * (r + 1)]) for r in range(H))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    open("%s/%s.png" % (out, name), "wb").write(
        b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) +
        chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))
else:
    a = open("%s/%s.rgb" % (out, sys.argv[3]), "rb").read()
    b = open("%s/%s.rgb" % (out, sys.argv[4]), "rb").read()
    x0, y0, x1, y1 = (int(v) for v in sys.argv[5:9])
    alike = total = 0
    for y in range(y0, y1):
        for xx in range(x0, x1):
            i = 3 * (W * y + xx)
            total += 1
            alike += a[i:i + 3] == b[i:i + 3]
    print(100 * alike // max(total, 1))
PY
}

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

walk_start "$walk_name" "$here" "$run" "$out" "$game"
await_shot cMainMenu 1 || fail "main menu not shown"

# The window: on a screen without a window manager it must lie wholly on
# the screen, at its full size.
window_on_screen() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  echo "$1: window at ($X, $Y), $WIDTH x $HEIGHT" >>"$out/timings.txt"
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 768 ] &&
    [ "$WIDTH" -eq 1024 ] && [ "$HEIGHT" -eq 768 ] ||
    fail "$1: the window lies at ($X, $Y), $WIDTH x $HEIGHT, not wholly on the 1024 x 768 screen"
}
window_on_screen "main menu"
screen grab main_menu || fail "the X screen could not be grabbed"

# The scenario menu: its first entry (Europe 1939), Start.
read -r single_x single_y < <(centre 71)
read -r list_x list_y < <(corner 179)
read -r start_x start_y < <(centre 200)
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown"
click $((list_x + 130)) $((list_y + 30))
sleep 0.5
click "$start_x" "$start_y"
await_shot cScenarioSettingsMenu 1 || fail "scenario settings not shown"

# The settings: Germany is the seventh row of the countries list (the
# list is in the order of the names; the header and each row 16 pixels),
# then Human.
read -r rows_x rows_y < <(corner 216)
read -r human_x human_y < <(centre 225)
read -r go_x go_y < <(centre 245)
if [ "$seat" = Germany ]; then
  click $((rows_x + 90)) $((rows_y + 30 + 6 * 16))
  sleep 0.5
  click "$human_x" "$human_y"
  sleep 0.5
fi
move_mouse 700 740
sleep 1
screen grab settings_seat
click "$go_x" "$go_y"

if [ "$seat" = Germany ]; then
  # Germany moves first: the map at once, no computer turn before it.
  await_shot MapScreen 1 300 || fail "the map screen not shown after Start (is Germany human?)"
  [ "$(log_count "[AI] Germany: NEW TURN")" -eq 0 ] || fail "Germany was played by the computer"
else
  started=$(now)
  await_shot MapScreen_cDialogNowejTury 1 3000 || fail "no greeting for $seat after Start"
  echo "impulse 1: the computer's turns before $seat's took $(seconds "$started" "$(now)") s (from Start, the map's loading included)" \
    >>"$out/timings.txt"
  [ "$(log_count "[AI] $seat: NEW TURN")" -eq 0 ] || fail "$seat was played by the computer"
  screen grab greeting_1
  key Return
  sleep 1
fi
window_on_screen "map screen"
move_mouse 600 300
sleep 2
screen grab impulse_1

# Germany's moves; another seat only ends its turns.
if [ "$seat" = Germany ]; then
  # Kiel: its fleets dialog, the move out of port to the Western Baltic.
  read -r kiel_x kiel_y < <(hex 32 19)
  click "$kiel_x" "$kiel_y"
  await_shot MapScreen_cDialogFlot 1 || fail "no fleets dialog after a click on Kiel"
  screen grab kiel_fleets
  read -r move_x move_y < <(centre 557)
  click "$move_x" "$move_y"
  sleep 1.5
  screen grab kiel_reach
  read -r baltic_x baltic_y < <(hex 38 18)
  click "$baltic_x" "$baltic_y"
  await_log "Player action: Fleet move / Baltic Squadron from 39 to 12" 1 ||
    fail "the Baltic Squadron did not sail out of Kiel to the Western Baltic"
  await_log "Fleet Baltic Squadron going: node 39 -> 12, movement finished." 1 || fail "the fleet's move did not end"
  move_mouse 600 500
  sleep 1.5
  screen grab fleet_at_sea

  # The map dragged so that its view centres on Danzig (view 4062, 2094 at
  # the settings' zoom), where the armies meet at the coast.
  read -r vx vy zoom < <(awk '/^map view / { x = $3; y = $4; z = $5 } END { print x, y, z }' "$out/game.out")
  read -r dx dy < <(awk -v x="$vx" -v y="$vy" -v z="$zoom" 'BEGIN { printf "%d %d\n", (x - 4062) * z, (y - 2094) * z }')
  from_x=$((dx < 0 ? 760 : 260)); from_y=$((dy < 0 ? 650 : 420))
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
  awk '/^map view / { x = $3; y = $4 } END { exit !(x > 4000 && x < 4120 && y > 2040 && y < 2150) }' "$out/game.out" ||
    fail "the drag did not bring Danzig to the middle ($(grep '^map view' "$out/game.out" | tail -n1))"
  sleep 1
  screen grab danzig

  # The attack: the Danzig garrison on the Coastal Defence in Gdynia.
  read -r danzig_x danzig_y < <(hex 48 20)
  read -r gdynia_x gdynia_y < <(hex 47 20)
  click "$danzig_x" "$danzig_y"
  sleep 1
  click "$gdynia_x" "$gdynia_y"
  await_log "Player action: new assault plan created" 1 || fail "no attack set up on Gdynia"
  sleep 1
  screen grab attack_set_up
  click "$gdynia_x" "$gdynia_y"
  attacked=$(now)
  await_log "Player action: Executing assault" 1 || fail "the attack on Gdynia was not fought"
  sleep 1
  screen grab combat_report_1s
  # The second picture 5 s after the click that fought the battle, however
  # long the wait for the log and the first picture took.
  sleep "$(awk -v a="$attacked" -v b="$(now)" 'BEGIN { w = a + 5 - b; printf "%.2f", (w > 0 ? w : 0) }')"
  grabbed=$(now)
  screen grab combat_report_5s
  # The dialog's frame: alike but for its countdown while the report stays.
  alike=$(screen same combat_report_1s combat_report_5s 120 92 904 676)
  echo "the combat report $(seconds "$attacked" "$grabbed") s after the attack: $alike % of its area as at 1 s" \
    >>"$out/timings.txt"
  [ "$alike" -ge 90 ] || fail "the combat report was gone 5 s after the attack (only $alike % of its area unchanged)"
  read -r close_x close_y < <(centre 919)
  click "$close_x" "$close_y"
  sleep 1

  # The bombardment: Luftflotte 1 from Stettin, its targets marked, a strike
  # on Army Pomorze.
  read -r lf1_x lf1_y < <(hex 41 21)
  read -r pomorze_x pomorze_y < <(hex 46 21)
  read -r handle_x handle_y < <(centre 350)
  read -r bombard_x bombard_y < <(centre 387)
  read -r recon_x recon_y < <(centre 388)
  click "$lf1_x" "$lf1_y"
  sleep 1
  click "$handle_x" "$handle_y"
  sleep 1
  move_mouse 600 150
  sleep 1
  screen grab before_bombardment
  click "$bombard_x" "$bombard_y"
  sleep 0.3
  move_mouse 600 150
  sleep 1.5
  screen grab bombardment_targets
  alike=$(screen same before_bombardment bombardment_targets $((pomorze_x - 30)) $((pomorze_y - 25)) $((pomorze_x + 30)) $((pomorze_y + 25)))
  echo "the bombardment's mark on Army Pomorze changed $((100 - alike)) % of its counter's area" >>"$out/timings.txt"
  [ "$alike" -le 70 ] || fail "no bombardment mark to be seen on Army Pomorze ($alike % of its counter unchanged)"
  click "$pomorze_x" "$pomorze_y"
  await_log "Player action: Air bombardment / Luftflotte 1 on (46, 21)" 1 || fail "no bombardment of Army Pomorze"
  sleep 1.5
  screen grab bombardment_report
  click "$close_x" "$close_y"
  sleep 1

  # The reconnaissance: Luftflotte 4 over Gdynia, where the Polish fleet lies
  # in port; the mouse over the port shows its hover box before and after.
  move_mouse "$gdynia_x" "$gdynia_y"
  sleep 1.5
  screen grab gdynia_before_recon
  read -r lf4_x lf4_y < <(hex 44 25)
  click "$lf4_x" "$lf4_y"
  sleep 1
  click "$recon_x" "$recon_y"
  sleep 0.3
  move_mouse 600 150
  sleep 1.5
  screen grab recon_targets
  click "$gdynia_x" "$gdynia_y"
  await_log "Player action: Air recon / Luftflotte 4 on (47, 20)" 1 || fail "no reconnaissance of Gdynia"
  move_mouse 600 150
  sleep 1
  move_mouse "$gdynia_x" "$gdynia_y"
  sleep 1.5
  screen grab recon_findings
  # The box lies below and right of the mouse; its row of the ship counts a
  # port of the enemy shows (layout entries 50 to 55) must have changed.
  read -r row_x row_y < <(corner 50)
  alike=$(screen same gdynia_before_recon recon_findings $((gdynia_x + 19 + row_x)) $((gdynia_y + 22 + row_y)) \
    $((gdynia_x + 19 + row_x + 240)) $((gdynia_y + 22 + row_y + 24)))
  echo "Gdynia's hover box after the reconnaissance: $((100 - alike)) % of its row of ship counts changed" >>"$out/timings.txt"
  [ "$alike" -lt 100 ] || fail "the reconnaissance of Gdynia changed nothing in its hover box"
fi
cp ConsoleOut.txt "$out/ConsoleOut_impulse_1.txt"

# Ends the seat's turn and waits for its next greeting: events shown are
# pictured and answered with their first option; a sea battle of Germany's
# on its screen ends the walk (it does not play one), another seat's is
# pictured and let run to its end (auto end, then close). Notes the round's
# time (the event dialogs' waits for the player left out) and checks the
# date the turn's autosave holds.
#   end_turn IMPULSE "DAY.MONTH.YEAR (turn N)"
end_turn() {
  local impulse="$1" greetings events battles closed started shown answered id x y dated
  greetings=$(shots MapScreen_cDialogNowejTury)
  events=$(shots EndOfImpulse_cDialogEventu)
  battles=$(shots cSeaBattleMenu)
  move_mouse 600 150
  key q
  await_shot MapScreen_cDialogPotwKoncaTury "$impulse" || fail "no end-turn question in impulse $impulse"
  key Return
  started=$(now)
  waited=0
  for _ in $(seq 1 3000); do
    [ "$(shots MapScreen_cDialogNowejTury)" -gt "$greetings" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended after impulse $impulse"
    if [ "$(shots EndOfImpulse_cDialogEventu)" -gt "$events" ]; then
      shown=$(now)
      events=$(shots EndOfImpulse_cDialogEventu)
      screen grab "event_${impulse}_${events}"
      id="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt | tr -d '\r' | sed -n 's/.*Event fired (ID=\([0-9]*\) .*/\1/p' | tail -n1)"
      read -r x y < <(event_first_option "$id") || fail "no place for the first option of event $id"
      click "$x" "$y"
      answered=$(now)
      # The dialog was pictured some frames after it opened.
      waited=$(awk -v w="$waited" -v a="$shown" -v b="$answered" 'BEGIN { printf "%.1f", w + b - a + 0.8 }')
      echo "impulse $impulse: event $id shown and answered with its first option" >>"$out/timings.txt"
    fi
    if [ "$(shots cSeaBattleMenu)" -gt "$battles" ]; then
      shown=$(now)
      battles=$(shots cSeaBattleMenu)
      screen grab "sea_battle_${impulse}_${battles}"
      [ "$seat" = Germany ] && fail "a sea battle of Germany's came up in impulse $impulse: this walk does not play it"
      closed=$(log_count "Sea Battle Screen closed")
      read -r x y < <(centre 661)
      click "$x" "$y"
      read -r x y < <(centre 658)
      for _ in $(seq 1 600); do
        [ "$(log_count "Sea Battle Screen closed")" -gt "$closed" ] && break
        sleep 0.5
        click "$x" "$y"
      done
      [ "$(log_count "Sea Battle Screen closed")" -gt "$closed" ] || fail "the sea battle of impulse $impulse did not end"
      waited=$(awk -v w="$waited" -v a="$shown" -v b="$(now)" 'BEGIN { printf "%.1f", w + b - a + 0.8 }')
      echo "impulse $impulse: a sea battle of $seat's shown and let run to its end" >>"$out/timings.txt"
    fi
    sleep 0.1
  done
  [ "$(shots MapScreen_cDialogNowejTury)" -gt "$greetings" ] ||
    { screen grab "no_greeting_$impulse"; fail "no greeting for $seat after impulse $impulse"; }
  round=$(awk -v a="$started" -v b="$(now)" -v w="$waited" 'BEGIN { printf "%.1f", b - a - w }')
  echo "impulse $impulse: the computer's round took $round s (the end of $seat's turn to its greeting, $waited s of the player's dialogs left out)" \
    >>"$out/timings.txt"
  # The autosave of the end of the seat's turn holds the impulse's date.
  dated="$(awk -F' = ' '{ sub(/\r$/, "", $2); v[$1] = $2 } END {
    print v["GameDayDisplayed"] "." v["GameMonthDisplayed"] "." v["GameYearDisplayed"] " (turn " v["Turn"] ")" }' \
    "$run/data/save/Autosave/Info.ini")"
  echo "impulse $impulse: the autosave of $seat's turn is dated $dated" >>"$out/timings.txt"
  [ "$dated" = "$2" ] || fail "impulse $impulse was dated $dated, not $2"
  screen grab "greeting_$((impulse + 1))"
  key Return
  sleep 1
  move_mouse 600 301
  move_mouse 600 300
  sleep 1.5
  screen grab "impulse_$((impulse + 1))"
}

end_turn 1 "1.9.1939 (turn 1)"
cp ConsoleOut.txt "$out/ConsoleOut_impulse_2.txt"
end_turn 2 "16.9.1939 (turn 2)"
cp ConsoleOut.txt "$out/ConsoleOut_impulse_3.txt"
end_turn 3 "1.10.1939 (turn 3)"
quit_game 150
rc=$?
cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
[ "$rc" -eq 0 ] || { echo "new player walk FAILED (the game's exit status $rc)" >&2; exit 1; }

# Each computer round under 20 s.
slow="$(awk '/the computer.s round took/ { if ($7 + 0 >= 20) print }' "$out/timings.txt")"
[ -z "$slow" ] || { echo "new player walk FAILED: a round of the computer's turns took 20 s or more: $slow" >&2; exit 1; }
rm -f "$out"/*.rgb
cat "$out/timings.txt"
echo "new player walk: played ($out); look at its pictures: the date lines of impulse_1.png, impulse_2.png and impulse_3.png must read 1 September 1939, 16 September 1939 and 1 October 1939"
