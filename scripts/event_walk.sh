#!/usr/bin/env bash
# A scripted event answered under a virtual X display with xdotool, as a
# person would, on a copy of Europe 1939 with Germany as the human country:
# its turn comes first -> Q, Enter: the turn ends, the computer countries
# move -> the end of the impulse checks the events and Germany's visible
# event comes up in the event dialog (pictured, kept as event_dialog.png)
# -> a click on its first option: the check goes on and ends -> Esc, pause
# menu, exit. The next turn is ended too: its autosave must hold the report
# of the choice (an event shown again at that end of the impulse is answered
# the same way).
#
# Where the first option's button lies follows from the event fired (its
# options, its picture) and the dialog's layout, as the dialog computes it.
#
#   scripts/event_walk.sh [build folder] [output folder]
set -uo pipefail
source "$(dirname "$0")/xvfb_walk.sh"
walk_setup "event walk" "$@"
skip_without python3

walk_make_europe_germany_run

grep -q -v -e '^;' -e '^[[:space:]]*$' "$scenario/event_files.txt" ||
  { echo "event walk: the scenario names no event files" >&2; exit 1; }

walk_play <<'INNER'
set -u
source "$1"
walk_start "${@:2}"

# Germany's turn: at once when it moves first, else after the computer
# countries before it and the greeting.
open_fixture_game
for _ in $(seq 1 600); do
  [ "$(shots MapScreen)" -ge 1 ] && break
  [ "$(shots MapScreen_cDialogNowejTury)" -ge 1 ] && key Return && sleep 0.5
  kill -0 "$pid" 2>/dev/null || fail "the game ended"
  sleep 0.1
done
await_shot MapScreen 1 1 || fail "map screen not shown"
move_mouse 600 300
sleep 1
greetings=$(shots MapScreen_cDialogNowejTury)
key q
await_shot MapScreen_cDialogPotwKoncaTury 1 || fail "no end-turn question"
key Return
await_log "Event fired (ID=" 1 1800 || fail "no event fired for the human country"
await_shot EndOfImpulse_cDialogEventu 1 300 || fail "no event dialog pictured"
keep EndOfImpulse_cDialogEventu event_dialog.png
id="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt | tr -d '\r' | sed -n 's/.*Event fired (ID=\([0-9]*\) .*/\1/p' | head -n1)"
read -r option_x option_y < <(event_first_option "$id") || fail "no place for the first option of event $id"
[ -n "${option_y:-}" ] || fail "no place for the first option of event $id"
click "$option_x" "$option_y"
await_log "CHECKING EVENTS FINISHED" 1 600 || fail "the events check did not go on after the click"
await_shot MapScreen_cDialogNowejTury $((greetings + 1)) 1800 || fail "no new turn after the end of the impulse"
key Return
sleep 0.5
printf '%s\n' "$id" >"$out/event_id.txt"
# The next turn's end saves the game with the report of the choice; an
# event shown again at the next end of the impulse gets its first option.
# The end of a turn starts the log afresh: the first one's is kept.
cp ConsoleOut.txt "$out/ConsoleOut_first.txt"
greetings=$(shots MapScreen_cDialogNowejTury)
key q
await_shot MapScreen_cDialogPotwKoncaTury 2 || fail "no end-turn question the second time"
key Return
for _ in $(seq 1 100); do
  [ "$(log_count "CHECKING EVENTS FINISHED")" -eq 0 ] && break
  sleep 0.1
done
await_log "CHECKING EVENTS..." 1 1800 || fail "no second events check"
answered=0
for _ in $(seq 1 1800); do
  [ "$(log_count "CHECKING EVENTS FINISHED")" -ge 1 ] && break
  if [ "$answered" -eq 0 ] && [ "$(shots EndOfImpulse_cDialogEventu)" -ge 2 ]; then
    answered=1
    id2="$(iconv -f UTF-16LE -t UTF-8 ConsoleOut.txt | tr -d '\r' | sed -n 's/.*Event fired (ID=\([0-9]*\) .*/\1/p' | tail -n1)"
    read -r option_x option_y < <(event_first_option "$id2") || fail "no place for the first option of event $id2"
    click "$option_x" "$option_y"
    sleep 1
  fi
  kill -0 "$pid" 2>/dev/null || fail "the game ended"
  sleep 0.1
done
await_shot MapScreen_cDialogNowejTury $((greetings + 1)) 1800 || fail "no new turn after the second end"
key Return
sleep 0.5
quit_game 150
INNER
rc=$?
walk_ended "$rc"

check_lines "$out/ConsoleOut_first.txt" \
  "CHECKING EVENTS..." \
  "Event fired (ID=" \
  "CHECKING EVENTS FINISHED" || exit 1
check_lines "$out/ConsoleOut.txt" \
  "CHECKING EVENTS..." \
  "CHECKING EVENTS FINISHED" \
  "----- Pause Menu -----" || exit 1
# The autosave of the second turn holds the choice: a report of type 25 for
# Germany naming the event's first option.
python3 - "$run" "$(cat "$out/event_id.txt")" "$here/data/lang/lang_ENG.txt" <<'PY' || { echo "event walk FAILED: the choice is not in the saved reports" >&2; exit 1; }
import os, struct, sys
import xml.etree.ElementTree as ET
run, event_id, lang = sys.argv[1], sys.argv[2], sys.argv[3]
texts = {}
for line in open(lang, encoding="utf-8"):
    if "\t" in line and not line.startswith("#"):
        key, text = line.rstrip("\n").split("\t", 1)
        texts[key] = text.strip()
scenario = os.path.join(run, "data", "scenarios", "Europe1939")
caption = None
for name in open(os.path.join(scenario, "event_files.txt"), encoding="utf-8", errors="replace"):
    name = name.strip()
    if not name or name.startswith(";"):
        continue
    path = os.path.join(run, name.replace("\\", "/"))
    if not os.path.exists(path):
        path = os.path.join(scenario, os.path.basename(name.replace("\\", "/")))
    for e in ET.parse(path).getroot().iter("event"):
        if e.get("eventID") == event_id and caption is None:
            first = e.find("options/option")
            caption = (first.findtext("description") or "") if first is not None else ""
caption = texts.get(caption.strip(), caption.strip())
data = open(os.path.join(run, "data", "save", "Autosave", "reports.dat"), "rb").read()
assert data[:5] == b"Tdwv1", "not a reports file"
count, = struct.unpack_from("<i", data, 5)
at, found = 9, False
for _ in range(count):
    kind, _y, _m, _d, _i, _x, country, length = struct.unpack_from("<8i", data, at)
    at += 32
    text = data[at:at + 2 * length].decode("utf-16-le")
    at += 2 * length
    if kind == 25 and country == 1 and text.startswith("Event for country Germany: ") and \
            ("\n\nChosen option: " + caption + " (") in text:
        found = True
print(("found" if found else "missing") + ": Chosen option: " + caption)
sys.exit(0 if found else 1)
PY
echo "event walk ok: pictures in $out"
