#!/usr/bin/env bash
# Checks that every source folder includes only its own layer or lower ones
# (the README draws the layers). Prints each include that reaches up and
# exits 1 when there is one.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)"

# Folder and layer, lowest first. platform/sdl is the window layer: only the
# frame at the top reaches it, so game logic never sees SDL.
layers="
platform 0
platform/sdl 0
app 1
gui 2
world 3
files 4
rules 5
ai 6
dialogs 7
screens 8
frame 9
"

rank_of() {
  awk -v folder="$1" '$1 == folder { print $2 }' <<<"$layers"
}

status=0
checked=0
while read -r folder rank; do
  [ -n "$folder" ] || continue
  dir="$src/$folder"
  [ -d "$dir" ] || { echo "layer check: missing folder src/$folder"; status=1; continue; }
  for file in "$dir"/*.h "$dir"/*.cpp; do
    [ -e "$file" ] || continue
    checked=$((checked + 1))
    while IFS= read -r line; do
      target="${line#*\"}"
      target="${target%%\"*}"
      [[ "$target" == */* ]] || continue
      target_folder="${target%/*}"
      target_rank="$(rank_of "$target_folder")"
      if [ -z "$target_rank" ]; then
        echo "layer check: ${file#$src/} includes $target from no known folder"
        status=1
      elif [ "$target_folder" = "platform/sdl" ] && [ "$folder" != "platform/sdl" ] && [ "$folder" != "frame" ]; then
        echo "layer check: ${file#$src/} includes $target (only the frame reaches the window layer)"
        status=1
      elif [ "$target_rank" -gt "$rank" ]; then
        echo "layer check: ${file#$src/} (layer $rank) includes $target (layer $target_rank)"
        status=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done
done <<<"$layers"

# A source folder that the table does not name has no layer yet.
for dir in "$src"/*/ "$src"/platform/*/; do
  folder="${dir%/}"
  folder="${folder#$src/}"
  [ -n "$(rank_of "$folder")" ] || { echo "layer check: src/$folder has no layer"; status=1; }
done

if [ "$status" -eq 0 ]; then
  echo "layer check: $checked files, every include within its layer or below"
fi
exit "$status"
