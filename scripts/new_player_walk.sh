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
#   the flight and its report (the enemy units around Gdynia and the ships
#   in its harbour) -> the mouse over Gdynia: the port's hover box with the
#   ships found there;
#   T, U, C, R and P each pressed twice: the dialog opens and closes again;
#   a click on Army Pomorze, the diplomacy panel shown by its handle, the
#   mouse over its greyed declaration of war: the hint that says why;
#   a click on the Konigsberg garrison, its sea transport icon: the unit
#   goes aboard a transport and the status line names the port to click ->
#   a click on Konigsberg: the port's fleets dialog with the transport;
# -> Q, Enter: the turn ends, the computer countries move, the impulse ends
# (the events shown to Germany answered with their first option, a message
# of the sea battles closed, a sea battle of Germany's let run to its end,
# the time they wait for the player left out of the round's) -> Germany's
# greeting; the same twice more, then Esc, pause menu, exit.
# Then a second game from another seat, the United Kingdom's unless TW_SEAT
# names another country (as "countries.csv" names it): the copy of the
# scenario has it human before the settings open, Start is pressed as they
# stand, the computer countries before it in the impulse move (a round
# timed from Start, the map's loading included) -> its greeting; the
# United Kingdom's carrier flies first: the map dragged to Scapa Flow -> its
# fleets dialog -> HMS Ark Royal, Reconnaissance: the sea before the port
# marked -> a click on the North Atlantic: the carrier's flight and its
# report -> the fleets dialog back -> Esc; then the seat's turns are ended
# at once for three impulses as Germany's were, then Esc, pause menu, exit.
#
# Pictures of the whole X screen (grabbed from the server, not from the
# game) are saved in the output folder: the main menu, the settings with
# Germany, the map of each impulse with its date line (which must read
# 1 September 1939, 16 September 1939, 1 October 1939), the fleets dialog,
# the fleet at sea, the combat report 1 s and 5 s after the attack, the
# bombardment's marks and report, the reconnaissance's marks, report and
# findings, each dialog opened and closed by its key, the greyed button's
# hint, the loading onto a transport and the port's fleets, each greeting
# and event, the X screen when a greeting does not come; the second game's
# in a folder named after the seat (united_kingdom/: the settings, Scapa
# Flow's fleets, the carrier's marks and report, each greeting and event).
# timings.txt gives each round of the computer's turns from both seats:
# from the end of the seat's turn to its next greeting, with the time the
# player's dialogs waited left out; the walk fails when one took 20 s or
# more. The game's own pictures (TW_SCREENSHOT_DIR) go to the same folders.
#
# A by-hand walk (not part of the test command); it takes some minutes.
#
#   [TW_SEAT=COUNTRY] [TW_WALK_RENDERER=default] scripts/new_player_walk.sh [build folder] [output folder]
# TW_XVFB_DISPLAY picks the display number (79 if not set); TW_WALK_RENDERER
# "default" starts the game without a renderer asked for, as play.sh does
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
timings="$out/timings.txt"
rm -f "$out"/*.rgb "$timings"

# The second game's seat: a country of Europe 1939 other than Germany.
second_seat="${TW_SEAT:-United Kingdom}"
second_seat_id="$(awk -F';' -v name="$second_seat" '$3 == name && $1 ~ /^[0-9]+$/ { print $1; exit }' \
  "$run/data/scenarios/Europe1939/countries.csv")"
[ -n "$second_seat_id" ] && [ "$second_seat" != Germany ] ||
  { echo "new player walk: TW_SEAT must name a country of Europe 1939 other than Germany, not $second_seat" >&2; exit 1; }

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
  echo "$1: window at ($X, $Y), $WIDTH x $HEIGHT" >>"$timings"
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
click $((rows_x + 90)) $((rows_y + 30 + 6 * 16))
sleep 0.5
click "$human_x" "$human_y"
sleep 0.5
move_mouse 700 740
sleep 1
screen grab settings_germany
click "$go_x" "$go_y"

# Germany moves first: the map at once, no computer turn before it.
await_shot MapScreen 1 300 || fail "the map screen not shown after Start (is Germany human?)"
[ "$(log_count "[AI] Germany: NEW TURN")" -eq 0 ] || fail "Germany was played by the computer"
window_on_screen "map screen"
move_mouse 600 300
sleep 2
screen grab impulse_1

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

# The map dragged so that its view centres on Danzig, where the armies meet
# at the coast.
drag_view_to 48 20
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
  >>"$timings"
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
echo "the bombardment's mark on Army Pomorze changed $((100 - alike)) % of its counter's area" >>"$timings"
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
reports=$(shots MapScreen_cDialogWynikuWalki)
click "$gdynia_x" "$gdynia_y"
await_log "Player action: Air recon / Luftflotte 4 on (47, 20)" 1 || fail "no reconnaissance of Gdynia"
# The flight's report: the enemy units around Gdynia (those seen for the
# first time marked) and the ships in its harbour.
await_shot MapScreen_cDialogWynikuWalki $((reports + 1)) || fail "the reconnaissance of Gdynia was not reported"
sleep 1
screen grab recon_report
click "$close_x" "$close_y"
sleep 1
move_mouse 600 150
sleep 1
move_mouse "$gdynia_x" "$gdynia_y"
sleep 1.5
screen grab recon_findings
# The box lies below and right of the mouse; its row of the ship counts a
# port of the enemy shows (layout entries 50 to 55) must have changed.
read -r row_x row_y < <(corner 50)
read -r row_end _ < <(awk '$1 == 55 { print $2 + $4, $3; exit }' "$layout")
alike=$(screen same gdynia_before_recon recon_findings $((gdynia_x + 19 + row_x)) $((gdynia_y + 22 + row_y)) \
  $((gdynia_x + 19 + row_end)) $((gdynia_y + 22 + row_y + 24)))
echo "Gdynia's hover box after the reconnaissance: $((100 - alike)) % of its row of ship counts changed" >>"$timings"
[ "$alike" -lt 100 ] || fail "the reconnaissance of Gdynia changed nothing in its hover box"

# The dialogs' keys: each pressed twice opens its dialog and closes it
# again; NAME_open.png and NAME_closed.png picture both.
#   toggle_dialog KEY DIALOG_CLASS NAME
toggle_dialog() {
  local opened map
  opened=$(shots "MapScreen_$2")
  key "$1"
  await_shot "MapScreen_$2" $((opened + 1)) || fail "$1 did not open the $3 dialog"
  screen grab "$3_open"
  map=$(shots MapScreen)
  key "$1"
  await_shot MapScreen $((map + 1)) || fail "a second $1 did not close the $3 dialog"
  screen grab "$3_closed"
}
move_mouse 600 150
toggle_dialog t cDialogResearchu research
toggle_dialog u cDialogJednostek units_manager
toggle_dialog c cDialogKonwojow convoys
toggle_dialog r cDialogStatystyk reports
toggle_dialog p cDialogZakupow purchases

# A greyed diplomacy button says why: Poland's (Army Pomorze's hex)
# declaration of war is greyed, Germany being at war with it; its hint
# shows under the mouse after the hint delay.
click "$pomorze_x" "$pomorze_y"
sleep 1
read -r diplomacy_x diplomacy_y < <(centre 600)
read -r declare_x declare_y < <(centre 602)
click "$diplomacy_x" "$diplomacy_y"
# From the map, where no hint shows, onto the button: its hint waits for
# the delay.
move_mouse 600 700
sleep 1
move_mouse "$declare_x" "$declare_y"
sleep 0.3
screen grab diplomacy_before_hint
sleep 1.5
screen grab diplomacy_greyed_hint
alike=$(screen same diplomacy_before_hint diplomacy_greyed_hint $((declare_x + 20)) $((declare_y + 20)) \
  $((declare_x + 200)) $((declare_y + 50)))
echo "the greyed declaration of war's hint changed $((100 - alike)) % of the area below the mouse" >>"$timings"
[ "$alike" -lt 80 ] || fail "no hint over the greyed declaration of war ($alike % of the area unchanged)"
click "$diplomacy_x" "$diplomacy_y"
sleep 0.5

# Sea transport: the Konigsberg garrison goes aboard a transport in its port;
# the status line names the port to click, and that click shows the port's
# fleets with the transport, to be sailed from there.
read -r konigsberg_x konigsberg_y < <(hex 50 18)
read -r transport_x transport_y < <(centre 385)
click "$konigsberg_x" "$konigsberg_y"
sleep 1
screen grab before_sea_transport
click "$transport_x" "$transport_y"
await_log "Player action: Load onto transport / Konigsberg Garrison Division" 1 ||
  fail "the Konigsberg garrison did not go aboard a transport"
move_mouse 600 150
sleep 1.5
screen grab sea_transport_loaded
# The status line (layout entry 293) no longer offers a move.
read -r status_x status_y < <(corner 293)
alike=$(screen same before_sea_transport sea_transport_loaded "$status_x" "$status_y" $((status_x + 344)) $((status_y + 28)))
echo "the status line after the loading: $((100 - alike)) % of it changed" >>"$timings"
[ "$alike" -lt 100 ] || fail "the status line did not change after the loading"
fleets=$(shots MapScreen_cDialogFlot)
click "$konigsberg_x" "$konigsberg_y"
await_shot MapScreen_cDialogFlot $((fleets + 1)) || fail "no fleets dialog after a click on Konigsberg"
screen grab sea_transport_fleet
key Escape
sleep 1
cp ConsoleOut.txt "$out/ConsoleOut_impulse_1.txt"

# Ends the seat's turn (seat names it) and waits for its next greeting:
# events shown are pictured and answered with their first option, the sea
# battles' messages pictured and closed, a sea battle of the seat's on its
# screen pictured and let run to its end (auto end, then close). Notes the
# round's time (the waits of those dialogs for the player left out) and
# checks the date the turn's autosave holds; the X screen is pictured when
# the greeting does not come.
#   end_turn IMPULSE "DAY.MONTH.YEAR (turn N)"
end_turn() {
  local impulse="$1" greetings events battles messages closed started shown answered id x y dated
  greetings=$(shots MapScreen_cDialogNowejTury)
  events=$(shots EndOfImpulse_cDialogEventu)
  battles=$(shots cSeaBattleMenu)
  messages=$(shots SeaBattles_cDialogTekstowy)
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
      echo "$seat, impulse $impulse: event $id shown and answered with its first option" >>"$timings"
    fi
    # A message of the impulse's sea battles (a raider's surprise attack on
    # a ship of the seat's or its allies') waits for the player: read, then
    # closed with Enter.
    if [ "$(shots SeaBattles_cDialogTekstowy)" -gt "$messages" ]; then
      shown=$(now)
      messages=$(shots SeaBattles_cDialogTekstowy)
      screen grab "sea_battles_message_${impulse}_${messages}"
      key Return
      waited=$(awk -v w="$waited" -v a="$shown" -v b="$(now)" 'BEGIN { printf "%.1f", w + b - a + 0.8 }')
      echo "$seat, impulse $impulse: a message of the sea battles shown and closed" >>"$timings"
    fi
    if [ "$(shots cSeaBattleMenu)" -gt "$battles" ]; then
      shown=$(now)
      battles=$(shots cSeaBattleMenu)
      screen grab "sea_battle_${impulse}_${battles}"
      # Auto end (layout entry 661), then Close (658) until the screen closes.
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
      echo "$seat, impulse $impulse: a sea battle of $seat's shown and let run to its end" >>"$timings"
    fi
    sleep 0.1
  done
  [ "$(shots MapScreen_cDialogNowejTury)" -gt "$greetings" ] ||
    { screen grab "no_greeting_$impulse"; fail "no greeting for $seat after impulse $impulse"; }
  round=$(awk -v a="$started" -v b="$(now)" -v w="$waited" 'BEGIN { printf "%.1f", b - a - w }')
  echo "$seat, impulse $impulse: the computer's round took $round s (the end of $seat's turn to its greeting, $waited s of the player's dialogs left out)" \
    >>"$timings"
  # The autosave of the end of the seat's turn holds the impulse's date.
  dated="$(awk -F' = ' '{ sub(/\r$/, "", $2); v[$1] = $2 } END {
    print v["GameDayDisplayed"] "." v["GameMonthDisplayed"] "." v["GameYearDisplayed"] " (turn " v["Turn"] ")" }' \
    "$run/data/save/Autosave/Info.ini")"
  echo "$seat, impulse $impulse: the autosave of $seat's turn is dated $dated" >>"$timings"
  [ "$dated" = "$2" ] || fail "impulse $impulse was dated $dated, not $2"
  screen grab "greeting_$((impulse + 1))"
  key Return
  sleep 1
  move_mouse 600 301
  move_mouse 600 300
  sleep 1.5
  screen grab "impulse_$((impulse + 1))"
}

# Three impulses from the seat's chair, each round of the computer's turns
# timed.
play_three_impulses() {
  end_turn 1 "1.9.1939 (turn 1)"
  cp ConsoleOut.txt "$out/ConsoleOut_impulse_2.txt"
  end_turn 2 "16.9.1939 (turn 2)"
  cp ConsoleOut.txt "$out/ConsoleOut_impulse_3.txt"
  end_turn 3 "1.10.1939 (turn 3)"
}

seat=Germany
play_three_impulses
quit_game 150
rc=$?
cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
[ "$rc" -eq 0 ] || { echo "new player walk FAILED (the game's exit status $rc)" >&2; exit 1; }

# The second game, from the second seat: the copy of the scenario has it
# human, the settings are started as they stand. Its pictures go to a
# folder named after the seat (united_kingdom for the United Kingdom).
make_country_human "$run/data/scenarios/Europe1939/countries.csv" "$second_seat_id" "$second_seat"
seat="$second_seat"
main_out="$out"
out="$main_out/$(echo "$seat" | tr 'A-Z ' 'a-z_')"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/ConsoleOut*.txt "$out/game.out"
walk_start "$walk_name" "$here" "$run" "$out" "$game"
await_shot cMainMenu 1 || fail "main menu not shown for the second game"
click "$single_x" "$single_y"
await_shot cScenarioMenu 1 || fail "scenario menu not shown for the second game"
click $((list_x + 130)) $((list_y + 30))
sleep 0.5
click "$start_x" "$start_y"
await_shot cScenarioSettingsMenu 1 || fail "scenario settings not shown for the second game"
move_mouse 700 740
sleep 1
screen grab settings_seat
click "$go_x" "$go_y"
# The computer countries before the seat in the impulse, timed from Start.
started=$(now)
await_shot MapScreen_cDialogNowejTury 1 3000 ||
  { screen grab no_greeting_0; fail "no greeting for $seat after Start"; }
echo "$seat, impulse 1: the computer's round took $(seconds "$started" "$(now)") s (from Start to $seat's first greeting, the map's loading included)" \
  >>"$timings"
[ "$(log_count "[AI] $seat: NEW TURN")" -eq 0 ] || fail "$seat was played by the computer"
screen grab greeting_1
key Return
sleep 1
move_mouse 600 300
sleep 1

# The United Kingdom's carriers lie in port: HMS Ark Royal in Scapa Flow
# flies its reconnaissance over the sea the port opens on (the North
# Atlantic) and the report tells what it found there.
if [ "$seat" = "United Kingdom" ]; then
  # Scapa Flow (10, 12) and the North Atlantic's middle (2, 13) both in view.
  drag_view_to 6 13
  read -r scapa_x scapa_y < <(hex 10 12)
  read -r atlantic_x atlantic_y < <(hex 2 13)
  click "$scapa_x" "$scapa_y"
  await_shot MapScreen_cDialogFlot 1 || fail "no fleets dialog after a click on Scapa Flow"
  # HMS Ark Royal is the fifth ship of the Home Fleet.
  read -r ships_x ships_y < <(corner 564)
  click $((ships_x + 100)) $((ships_y + 30 + 4 * 16))
  sleep 1
  screen grab scapa_fleets
  read -r fleet_recon_x fleet_recon_y < <(centre 573)
  click "$fleet_recon_x" "$fleet_recon_y"
  move_mouse 600 150
  sleep 1.5
  screen grab carrier_recon_targets
  click "$atlantic_x" "$atlantic_y"
  await_log "Player action: Naval recon / HMS Ark Royal on (2, 13)" 1 ||
    fail "HMS Ark Royal flew no reconnaissance of the North Atlantic"
  await_shot MapScreen_cDialogWynikuWalki 1 || fail "the carrier's reconnaissance was not reported"
  sleep 1
  screen grab carrier_recon_report
  click "$close_x" "$close_y"
  # The fleets dialog comes back after the report.
  await_shot MapScreen_cDialogFlot 2 || fail "the fleets dialog did not come back after the carrier's report"
  key Escape
  sleep 1
fi
cp ConsoleOut.txt "$out/ConsoleOut_impulse_1.txt"
play_three_impulses
quit_game 150
rc=$?
cp "$run/ConsoleOut.txt" "$out/ConsoleOut.txt" 2>/dev/null
[ "$rc" -eq 0 ] || { echo "new player walk FAILED (the second game's exit status $rc)" >&2; exit 1; }
rm -f "$out"/*.rgb
out="$main_out"

# Each round of the computer's turns, from both seats, under 20 s.
cat "$timings"
slow="$(awk 'match($0, /round took [0-9.]+ s/) { if (substr($0, RSTART + 11, RLENGTH - 13) + 0 >= 20) print }' "$timings")"
[ -z "$slow" ] || { echo "new player walk FAILED: a round of the computer's turns took 20 s or more: $slow" >&2; exit 1; }
rm -f "$out"/*.rgb
echo "new player walk: played ($out, the second seat's game in its folder); look at its pictures: the date lines of impulse_1.png, impulse_2.png and impulse_3.png must read 1 September 1939, 16 September 1939 and 1 October 1939"
