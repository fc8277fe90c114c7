#!/usr/bin/env bash
# Opens the game's window under a virtual X display, draws a frame and saves
# what the renderer drew as a PNG; checks the window title with xdotool and,
# when xwd and convert exist, also grabs the whole X screen.
#
#   scripts/window_check.sh [build folder] [output folder]
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
out="${2:-$build/window_check}"
tool="$build/tools/window_check"

source "$here/scripts/xvfb_walk.sh"
skip_without xvfb-run
need_built "$tool" window_check "$build" window_check
ignore_display_leaks
mkdir -p "$out"
rm -f "$out/renderer.png" "$out/screen.png"

# Inside the virtual display: run the window for about three seconds
# (90 frames at 33 ms), look for its title while it is up, take the X-level
# picture if the tools exist, then wait for the renderer's screenshot.
xvfb-run $(xvfb_display) -s "-screen 0 1024x768x24" bash -s "$tool" "$out" <<'INNER'
set -u
tool="$1"; out="$2"
"$tool" "$out/renderer.png" 90 &
pid=$!
sleep 1.5
status=0
if command -v xdotool >/dev/null 2>&1; then
  if ids="$(xdotool search --name "Tidewrack v1.01")" && [ -n "$ids" ]; then
    echo "title ok: window $(echo "$ids" | head -n1) is named \"$(xdotool getwindowname "$(echo "$ids" | head -n1)")\""
  else
    echo "title check FAILED: no window named Tidewrack v1.01" >&2
    status=1
  fi
else
  echo "xdotool not installed: title not checked"
fi
if command -v xwd >/dev/null 2>&1 && command -v convert >/dev/null 2>&1; then
  xwd -root -silent | convert xwd:- "$out/screen.png" && echo "X screen: $out/screen.png"
fi
wait "$pid" || status=$?
exit "$status"
INNER
rc=$?
if [ "$rc" -ne 0 ] || [ ! -s "$out/renderer.png" ]; then
  echo "window check FAILED (exit $rc)" >&2
  exit 1
fi
echo "renderer screenshot: $out/renderer.png"
