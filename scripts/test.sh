#!/usr/bin/env bash
# Installs what is missing, checks the layers of the source folders, builds
# the test configuration (AddressSanitizer + UBSan), checks the layers of its
# libraries' symbols and runs every test: the real window under Xvfb (the
# menus, then a scripted land turn), the thread tests again under
# ThreadSanitizer, a short smoke run of every file-reader fuzzer
# (fixed seed, so a run repeats the same inputs), then all unit tests with
# CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

jobs="$(nproc)"

# Every folder includes only its own layer or lower ones.
echo "== layer check"
bash "$root/scripts/check_layers.sh"
fuzz_seconds="${TW_FUZZ_SECONDS:-5}"

# Test configuration: ASan + UBSan, warnings are errors.
asan="$root/build/test"
# Line tables are enough for the sanitizers' stack traces and keep the
# build quick on a small machine; the benchmarks are built by a Release
# configuration, not here.
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON \
  -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_CXX_FLAGS="-O1 -Werror" >/dev/null
ninja -C "$asan" -j "$jobs"

# No library uses a symbol defined only in a higher layer (this also sees a
# function of a higher layer declared locally, which no include shows).
echo "== link check"
bash "$root/scripts/check_layers.sh" --libs "$asan/src"

# Damaged copies of the fixture scenario (missing, empty, halved, garbled
# files, other line ends, values out of range), each loaded with
# check_scenario: it must end with exit 1 naming the file, or load with
# WARNING lines for every row it leaves out.
echo "== damaged scenarios"
python3 "$root/scripts/damaged_scenarios.py" "$asan/tools/check_scenario" \
  "$root/tests/data/fixture_scenario/Fixture" "$jobs"

# Europe 1939 played headless twice with the same seed, every country
# computer-controlled: no sanitizer report, the same saved game.
echo "== headless game"
bash "$root/scripts/headless_check.sh" "$asan" 20 1

# The real window under a virtual X display: title and one drawn frame.
echo "== window check (Xvfb)"
bash "$root/scripts/window_check.sh" "$asan" "$asan/window_check"

# The real game under Xvfb: intro -> main menu -> scenario menu -> back ->
# exit, with a picture of each menu and the log lines checked in order.
echo "== menu walk (Xvfb)"
ninja -C "$asan" tidewrack language_base >/dev/null
bash "$root/scripts/menu_walk.sh" "$asan" "$asan/menu_walk"

# A land turn of the test fixture played with xdotool: select, range, move,
# undo, move again, attack with the panel's odds, the combat report, the
# end of the turn with its question, the computer phase, the new turn.
echo "== land turn (Xvfb)"
bash "$root/scripts/land_turn.sh" "$asan" "$asan/land_turn"

# The unit panel's orders played the same way: a division upgraded to a
# corps, replacements bought through their dialog, a bomber's strike on an
# enemy land unit with its report; pictures of the panel for each unit.
echo "== unit panel (Xvfb)"
bash "$root/scripts/unit_panel.sh" "$asan" "$asan/unit_panel"

# A convoy set up the same way, playing Eastmark: the convoys dialog, the
# ports picked on the map, the cargo switched; pictures of the dialog.
echo "== convoys (Xvfb)"
bash "$root/scripts/convoys_walk.sh" "$asan" "$asan/convoys_walk"

# Diplomacy the same way: pressure on a neutral from the diplomacy panel,
# elections through the choice dialog; pictures of the panel and dialog.
echo "== diplomacy (Xvfb)"
bash "$root/scripts/diplomacy_walk.sh" "$asan" "$asan/diplomacy_walk"

# An infantry division bought through the purchases dialog, research
# invested in, the impulse ended and the division deployed from the units
# manager; pictures of the three dialogs and of the deploy hexes.
echo "== purchases (Xvfb)"
bash "$root/scripts/purchases_walk.sh" "$asan" "$asan/purchases_walk"

# The research dialog and the units manager played the same way, playing
# Eastmark: an investment bought, the lists opened; pictures of both.
echo "== economy dialogs (Xvfb)"
bash "$root/scripts/economy_walk.sh" "$asan" "$asan/economy_walk"

# A save from the pause menu through the save dialog, loaded again from the
# scenario menu's saved games; pictures of the dialog.
echo "== save walk (Xvfb)"
bash "$root/scripts/save_walk.sh" "$asan" "$asan/save_walk"

# The reports and statistics dialog opened with R in the fixture's first
# turn and closed by Esc and by its button; a picture of the dialog.
echo "== reports (Xvfb)"
bash "$root/scripts/reports_walk.sh" "$asan" "$asan/reports_walk"

# A supplies convoy into a pocket, then ends of impulses until it delivers;
# pictures of the map with the cut-off units marked.
echo "== convoy delivery (Xvfb)"
bash "$root/scripts/convoy_delivery_walk.sh" "$asan" "$asan/convoy_delivery_walk"

# The fleets dialog played the same way: opened on a sea zone, the fleet
# moved through it to another; pictures of the dialog over the map.
echo "== fleets dialog (Xvfb)"
bash "$root/scripts/fleets_dialog.sh" "$asan" "$asan/fleets_dialog"

# The sea battles of an impulse's end on their screen: a pick, a shot,
# automatic play and the close; a picture of each battle's screen.
echo "== sea battle (Xvfb)"
bash "$root/scripts/sea_battle.sh" "$asan" "$asan/sea_battle"

# A landing from the sea: a unit loaded from the unit panel, its fleet
# moved, unloaded on a marked beach; pictures of the marks and the report.
echo "== sea landing (Xvfb)"
bash "$root/scripts/sea_landing.sh" "$asan" "$asan/sea_landing"

# Europe 1939 with Germany human: the turn ended, the end of the impulse
# shows Germany's event and the player picks its first option; a picture of
# the event dialog.
echo "== event walk (Xvfb)"
bash "$root/scripts/event_walk.sh" "$asan" "$asan/event_walk"

# Europe 1939 with Poland human: the Axis countries' turns watched, their
# moves pictured on the way, then Poland's greeting.
echo "== computer turn walk (Xvfb)"
bash "$root/scripts/computer_turn_walk.sh" "$asan" "$asan/computer_turn_walk"

# The preferences under a 1920 x 1080 display: the settings menu, the change
# to 1920x1080 over the map (the map screen made again for it), the music
# volume kept in Settings.ini; pictures of the dialog and the map.
echo "== preferences (Xvfb)"
bash "$root/scripts/preferences_walk.sh" "$asan" "$asan/preferences_walk"

# The tests of code that both threads run, under ThreadSanitizer.
tsan="$root/build/tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_TSAN=ON \
  -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_CXX_FLAGS="-O1" >/dev/null
# The test programs that hold tests named "...Thread...".
tsan_programs=(tw_tests_platform tw_tests_app tw_tests_dialogs tw_tests_units tw_tests_rules tw_tests_ai tw_tests_headless tw_tests_land_rules tw_tests_air_rules tw_tests_naval_rules tw_tests_turn_rules tw_tests_screens tw_tests_frame)
ninja -C "$tsan" -j "$jobs" "${tsan_programs[@]}"
echo "== ThreadSanitizer: thread tests"
for program in "${tsan_programs[@]}"; do
  (cd "$tsan" && TSAN_OPTIONS="halt_on_error=1" "./tests/$program" --gtest_filter='*Thread*' --gtest_brief=1)
done

# Every file reader's fuzzer, briefly.
fuzz="$root/build/fuzz"
CXX=clang++ cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_FUZZ=ON \
  -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
  -DCMAKE_CXX_FLAGS="-O1" >/dev/null
fuzz_targets=()
for source in "$root"/tests/fuzz/fuzz_*.cpp; do
  fuzz_targets+=("$(basename "$source" .cpp)")
done
ninja -C "$fuzz" -j "$jobs" "${fuzz_targets[@]}"
# The runs are timed by the clock, not by the work done: they run side by
# side, one a core, and each one's last lines are printed when all are done.
fuzz_smoke() {
  local target="$1" name corpus seeds
  name="$(basename "$target")"
  corpus="$fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  rm -f "$fuzz/$name.failed"
  (cd "$fuzz" && "$target" -seed=1 -max_total_time="$fuzz_seconds" -print_final_stats=0 \
    "$corpus" $seeds >"$fuzz/$name.smoke.txt" 2>&1) || { touch "$fuzz/$name.failed"; return 1; }
}
export -f fuzz_smoke
export fuzz root fuzz_seconds
echo "== fuzz smoke runs (${fuzz_seconds}s each, $jobs at a time)"
fuzz_failed=0
for target in "$fuzz"/tests/fuzz/fuzz_*; do [ ! -x "$target" ] || printf '%s\n' "$target"; done |
  xargs -P "$jobs" -I{} bash -c 'fuzz_smoke "$1"' _ {} || fuzz_failed=1
for target in "$fuzz"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  echo "== fuzz smoke run: $name"
  if [ -e "$fuzz/$name.failed" ]; then
    tail -n 40 "$fuzz/$name.smoke.txt"
    echo "fuzz smoke run $name FAILED (all its output: $fuzz/$name.smoke.txt)" >&2
  else
    tail -n 2 "$fuzz/$name.smoke.txt"
  fi
done
[ "$fuzz_failed" -eq 0 ] || exit 1

echo "== unit tests (ASan + UBSan)"
cd "$asan"
ctest --output-on-failure -j "$jobs"
