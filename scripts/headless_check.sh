#!/usr/bin/env bash
# The headless runner twice on "Europe, September 1939": every country
# computer-controlled, the same seed, a number of impulses; the two saved
# games must be the same byte for byte except the wall-clock line "Date" of
# Info.ini. Fails on a non-zero exit (a sanitizer report in the test build
# ends the runner with one), on a sanitizer line in its output or on any
# difference. Works in a scratch folder of its own: the scenario is copied
# in, the skins linked, the saves written there.
#   scripts/headless_check.sh BUILD_FOLDER [IMPULSES] [SEED]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: headless_check.sh BUILD_FOLDER [IMPULSES] [SEED]}" && pwd)"
impulses="${2:-20}"
seed="${3:-1}"
runner="$build/tools/headless_game"
[ -x "$runner" ] || { echo "headless_game not built: ninja -C $build headless_game" >&2; exit 1; }

run="$build/headless_check"
rm -rf "$run"
mkdir -p "$run/data/scenarios" "$run/data/save"
cp -r "$here/data/scenarios/Europe1939" "$run/data/scenarios/Europe1939"
ln -s "$here/data/gfx" "$run/data/gfx"

cd "$run"
for name in first second; do
  if ! "$runner" Europe1939 "$impulses" "$seed" "$name" --summary "$name.txt" >"$name.out" 2>&1; then
    echo "headless_game ($name run) failed:" >&2
    tail -n 40 "$name.out" >&2
    exit 1
  fi
  if grep -E -q 'ERROR: (Address|Leak|Undefined|Thread)Sanitizer|runtime error:' "$name.out"; then
    echo "headless_game ($name run): sanitizer report" >&2
    grep -E -A 20 'Sanitizer|runtime error:' "$name.out" | head -n 60 >&2
    exit 1
  fi
  cp ConsoleOut.txt "$name.ConsoleOut.txt"
done
# The saves' one wall-clock value, "Date = yy.mm.dd hh:mm" of Info.ini's
# [Save] section, is the only line allowed to differ, and with it Info.ini's
# checksum in the record of the save's files (Info.ini itself is compared
# line by line).
if ! diff -r -I '^Date = ' -I '^Info\.ini;[0-9]*;fnv1a64=' data/save/first data/save/second >diff.txt; then
  echo "headless_game: two runs of seed $seed differ:" >&2
  head -n 40 diff.txt >&2
  exit 1
fi
echo "headless_game: $impulses impulses of Europe1939 twice with seed $seed, the same saved game"
grep '^speed ' first.txt
