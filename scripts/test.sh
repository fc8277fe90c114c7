#!/usr/bin/env bash
# Installs what is missing, checks the layers of the source folders, builds
# the test configuration (AddressSanitizer + UBSan), checks the layers of its
# libraries' symbols and runs every test: the real window under Xvfb (the
# menus, then the scripted walks), the thread tests again under
# ThreadSanitizer, a short smoke run of every file-reader fuzzer (fixed
# seed, so a run repeats the same inputs; a sanitizer report, undefined
# behaviour included, fails it), then all unit tests with CTest.
#
# On a small machine the order matters more than the work: the
# ThreadSanitizer and fuzzer builds run at the lowest priority beside the
# walks and the unit tests, which spend much of their time waiting for the
# game; the walks run side by side, each on a virtual display of its own.
# The time of every stage is printed at the end, and every start of the
# game that a walk tried again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${TW_FUZZ_SECONDS:-5}"
asan="$root/build/test"
tsan="$root/build/tsan"
fuzz="$root/build/fuzz"
mkdir -p "$root/build"

# --- Stage times ------------------------------------------------------------
times="$root/build/test-times.txt"
: >"$times"
# The walks' retried starts, "<walk>: <the game's line>", gathered after the walks.
retries="$root/build/walk-retries.txt"
: >"$retries"
started=$SECONDS
print_times() {
  local status=$?
  # A run that failed leaves no build behind it running.
  if [ -n "${background_pid:-}" ] && kill -0 "$background_pid" 2>/dev/null; then
    pkill -TERM -P "$background_pid" 2>/dev/null || true
    kill "$background_pid" 2>/dev/null || true
  fi
  echo
  echo "== stage times (wall clock, seconds; stages marked & ran beside others)"
  cat "$times"
  printf '%-44s %5d\n' "whole test command" $((SECONDS - started))
  if [ -n "${walks_ran:-}" ]; then
    if [ -s "$retries" ]; then
      echo "== walk retries (the game's start tried again after it found no display)"
      cat "$retries"
    else
      echo "walk retries: none"
    fi
  fi
  # CTest's count, last, as the closing line of the whole run.
  if [ "$status" -eq 0 ] && [ -f "${ctest_log:-}" ]; then
    sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2 \1/p' "$ctest_log" |
      { read -r total failed && echo "unit tests: $((total - failed)) passed, $failed failed"; } || true
  fi
  return "$status"
}
trap print_times EXIT
# Runs a command as a named stage and records its time; the command's
# status is the stage's.
#   timed NAME COMMAND...
timed() {
  local name="$1" t0=$SECONDS status=0
  shift
  echo "== $name"
  "$@" || status=$?
  printf '%-44s %5d%s\n' "$name" $((SECONDS - t0)) "$([ "$status" -eq 0 ] || echo "  FAILED")" >>"$times"
  return "$status"
}

timed "install" bash "$root/scripts/install-deps.sh"

# Every folder includes only its own layer or lower ones.
timed "layer check" bash "$root/scripts/check_layers.sh"

# Test configuration: ASan + UBSan, warnings are errors. Line tables are
# enough for the sanitizers' stack traces, and -Og builds a fifth faster
# than -O1 on a small machine while the tests run about as fast; the
# benchmarks are built by a Release configuration.
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON \
  -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_CXX_FLAGS="-Og -Werror" >/dev/null
timed "build (ASan + UBSan)" ninja -C "$asan" -j "$jobs"

# The ThreadSanitizer and fuzzer builds, at the lowest priority, beside the
# checks below. Their output goes to a log that is printed when they fail.
# The test programs that hold tests named "...Thread...": under
# ThreadSanitizer each is made of the files that hold such tests.
tsan_programs=(tw_tests_platform tw_tests_app tw_tests_dialogs tw_tests_units tw_tests_rules tw_tests_ai tw_tests_headless tw_tests_land_rules tw_tests_air_rules tw_tests_naval_rules tw_tests_turn_rules tw_tests_screens tw_tests_frame)
fuzz_targets=()
for source in "$root"/tests/fuzz/fuzz_*.cpp; do
  fuzz_targets+=("$(basename "$source" .cpp)")
done
background_builds() {
  cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_TSAN=ON \
    -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_CXX_FLAGS="-Og" >/dev/null &&
  timed "build (ThreadSanitizer) &" nice -n 19 ninja -C "$tsan" -j "$jobs" "${tsan_programs[@]}" &&
  # The fuzzers of the smoke runs unoptimised: clang builds them in a
  # fourth of the time -O1 takes (the smoke runs do fewer inputs in their
  # seconds); scripts/fuzz_long.sh builds the same folder at -O1.
  CXX=clang++ cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_FUZZ=ON \
    -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only" \
    -DCMAKE_CXX_FLAGS="-O0" >/dev/null &&
  timed "build (fuzzers) &" nice -n 19 ninja -C "$fuzz" -j "$jobs" "${fuzz_targets[@]}"
}
background_log="$root/build/background-builds.txt"
background_builds >"$background_log" 2>&1 &
background_pid=$!

# No library uses a symbol defined only in a higher layer (this also sees a
# function of a higher layer declared locally, which no include shows).
timed "link check" bash "$root/scripts/check_layers.sh" --libs "$asan/src"

# Damaged copies of the fixture scenario (missing, empty, halved, garbled
# files, other line ends, values out of range), each loaded with
# check_scenario: it must end with exit 1 naming the file, or load with
# WARNING lines for every row it leaves out.
timed "damaged scenarios" python3 "$root/scripts/damaged_scenarios.py" "$asan/tools/check_scenario" \
  "$root/tests/data/fixture_scenario/Fixture" "$jobs"

# Europe 1939 played headless twice with the same seed, every country
# computer-controlled: no sanitizer report, the same saved game.
timed "headless game" bash "$root/scripts/headless_check.sh" "$asan" 20 1

# The real window under a virtual X display: title and one drawn frame.
timed "window check (Xvfb)" bash "$root/scripts/window_check.sh" "$asan" "$asan/window_check"

# The real game under Xvfb, played with xdotool as a person would; each walk
# checks its pictures and the log lines it must write, in order:
walks=(
  # intro -> main menu -> scenario menu -> back -> exit, a picture of each menu
  menu_walk
  # a land turn of the test fixture: select, range, move, undo, move again,
  # attack with the panel's odds, the combat report, the end of the turn
  # with its question, the computer phase, the new turn
  land_turn
  # the unit panel's orders: a division upgraded to a corps, replacements
  # bought through their dialog, a bomber's strike on an enemy land unit
  unit_panel
  # a convoy set up playing Eastmark: the convoys dialog, the ports picked on
  # the map, the cargo switched
  convoys_walk
  # pressure on a neutral from the diplomacy panel, elections through the
  # choice dialog
  diplomacy_walk
  # an infantry division bought through the purchases dialog, research
  # invested in, the impulse ended and the division deployed
  purchases_walk
  # the research dialog and the units manager playing Eastmark
  economy_walk
  # a save from the pause menu through the save dialog, loaded again from
  # the scenario menu's saved games; damaged copies of it refused there
  save_walk
  # the reports and statistics dialog opened with R, closed by Esc and by
  # its button
  reports_walk
  # a supplies convoy into a pocket, then ends of impulses until it delivers
  convoy_delivery_walk
  # the fleets dialog opened on a sea zone, the fleet moved to another
  fleets_dialog
  # Europe 1939 as Germany: the Baltic Squadron commanded from its port,
  # Kiel, sails out; the date line of the first three impulses
  port_fleet_walk
  # the sea battles of an impulse's end on their screen: a pick, a shot,
  # automatic play and the close
  sea_battle
  # a landing from the sea: a unit loaded, its fleet moved, unloaded
  sea_landing
  # Europe 1939 with Germany human: the end of the impulse shows Germany's
  # event and the player picks its first option
  event_walk
  # Europe 1939 with Poland human: the Axis turns watched, their moves
  # pictured on the way, then Poland's greeting
  computer_turn_walk
  # the preferences under a 1920 x 1080 display: the change of resolution
  # over the map, the music volume kept in Settings.ini
  preferences_walk
  # the display lost: the window killed in the player's turn, the X server
  # ended in the computer's, the window destroyed by another program in the
  # player's turn and at the intro; the game ends by its own path each time
  display_loss_walk
)
# One walk a core: the game draws the whole map in software every frame
# (two a core end the walks sooner but hold back the background builds as
# long).
walk_jobs=$jobs
[ "$walk_jobs" -le "${#walks[@]}" ] || walk_jobs=${#walks[@]}
# A display of its own for each walk (xvfb-run -a races when several start
# at once), in a range of this run's own, so that two runs on one machine
# keep apart.
display_base=$((140 + ($$ % 40) * 20))
# A walk's retried starts of the game go to <walk>.walk.retries.
run_walk() {
  local index="$1" name="$2" t0=$SECONDS status=0
  TW_XVFB_DISPLAY=$((display_base + index)) TW_WALK_RETRIES="$asan/$name.walk.retries" \
    bash "$root/scripts/$name.sh" "$asan" "$asan/$name" >"$asan/$name.walk.txt" 2>&1 || status=$?
  echo "$status $((SECONDS - t0))" >"$asan/$name.walk.status"
}
export -f run_walk
export root asan display_base
run_walks() {
  local i failed=0 name status seconds
  rm -f "$asan"/*.walk.status "$asan"/*.walk.retries
  walks_ran=1
  for i in "${!walks[@]}"; do printf '%s %s\n' "$i" "${walks[$i]}"; done |
    xargs -P "$walk_jobs" -L 1 bash -c 'run_walk "$1" "$2"' _
  for name in "${walks[@]}"; do
    [ ! -s "$asan/$name.walk.retries" ] || sed "s/^/$name: /" "$asan/$name.walk.retries" >>"$retries"
    read -r status seconds <"$asan/$name.walk.status" || { status=1; seconds=0; }
    echo "== walk: $name ($seconds s)"
    if [ "$status" -eq 0 ]; then
      tail -n 3 "$asan/$name.walk.txt"
    else
      cat "$asan/$name.walk.txt"
      echo "walk $name FAILED (exit $status; all its output: $asan/$name.walk.txt)" >&2
      failed=1
    fi
  done
  return "$failed"
}
timed "walks (Xvfb, $walk_jobs at a time)" run_walks

ctest_log="$root/build/ctest-output.txt"
# The longest tests start first: CTest orders tests by the times of its
# earlier runs, which a fresh build has none of, and on two cores a long
# test started last runs alone at the end.
cost_data="$asan/Testing/Temporary/CTestCostData.txt"
if [ ! -s "$cost_data" ]; then
  mkdir -p "$(dirname "$cost_data")"
  {
    echo "EuropeEventsGame.HundredComputerImpulsesFollowTheWarAndFranceFallsWhenParisFalls 1 30"
    echo "Europe1939Impulses.HundredImpulsesOfComputerPlayGiveTheSameGameForTheSameSeed 1 7"
    echo "EuropeEvents.FranceStandsWhileParisHolds 1 4"
    echo "LandingThread.WorkerLoadsAndLandsWhileTheFrameReadsTheWorld 1 4"
    echo "EuropeEvents.HundredImpulsesFollowTheWarOf1939And1940 1 4"
    echo "MapSeams.CellsMeetWithoutSeamsAtEveryZoom 1 2"
    echo "PolandCampaignGame.PolandFallsByTheEndOf1939InMostGames 1 2"
    echo "---"
  } >"$cost_data"
fi
unit_tests() {
  local status=0
  (cd "$asan" && ctest --output-on-failure -j "$jobs") 2>&1 | tee "$ctest_log" || status=$?
  return "$status"
}
timed "unit tests (ASan + UBSan)" unit_tests

# The background builds must have ended well.
background_status=0
wait "$background_pid" || background_status=$?
grep -E '^(== |FAILED|ninja: build stopped)' "$background_log" || true
if [ "$background_status" -ne 0 ]; then
  tail -n 60 "$background_log" >&2
  echo "the ThreadSanitizer or fuzzer build FAILED (all its output: $background_log)" >&2
  exit 1
fi

# The tests of code that both threads run, under ThreadSanitizer; every test
# the ASan programs hold under the same filter runs here too.
tsan_tests() {
  local program asan_count tsan_count
  for program in "${tsan_programs[@]}"; do
    asan_count="$("$asan/tests/$program" --gtest_list_tests --gtest_filter='*Thread*' | grep -c '^  ')"
    tsan_count="$("$tsan/tests/$program" --gtest_list_tests --gtest_filter='*Thread*' | grep -c '^  ')"
    if [ "$asan_count" != "$tsan_count" ]; then
      echo "$program: $asan_count thread tests in the ASan build, $tsan_count under ThreadSanitizer" >&2
      return 1
    fi
    (cd "$tsan" && TSAN_OPTIONS="halt_on_error=1" "./tests/$program" --gtest_filter='*Thread*' --gtest_brief=1) ||
      return 1
  done
}
timed "thread tests (ThreadSanitizer)" tsan_tests

# Every file reader's fuzzer, briefly. The runs are timed by the clock, not
# by the work done: they run side by side, one a core, and each one's last
# lines are printed when all are done.
fuzz_smoke() {
  local target="$1" name corpus seeds scratch
  name="$(basename "$target")"
  corpus="$fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  rm -f "$fuzz/$name.failed"
  # The files a reader is given are written in a folder of the run's own,
  # removed after it.
  scratch="$(mktemp -d "${TMPDIR:-/tmp}/tw-fuzz-$name.XXXXXX")" || return 1
  local status=0
  (cd "$fuzz" && TMPDIR="$scratch" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "$target" -seed=1 -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" $seeds \
    >"$fuzz/$name.smoke.txt" 2>&1) || status=1
  rm -rf "$scratch"
  [ "$status" -eq 0 ] || { touch "$fuzz/$name.failed"; return 1; }
}
export -f fuzz_smoke
export fuzz fuzz_seconds
fuzz_runs() {
  local fuzz_failed=0 target name
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
  return "$fuzz_failed"
}
timed "fuzz smoke runs (${fuzz_seconds}s each, $jobs at a time)" fuzz_runs
