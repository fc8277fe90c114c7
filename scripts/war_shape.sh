#!/usr/bin/env bash
# What the computer's wars look like: plays "Europe, September 1939" with
# every country computer-controlled for IMPULSES impulses on each seed of
# SEEDS, several games side by side, in a Release build of the headless
# runner (build/release, configured as scripts/soak_ai.sh does), and tables
# the war figures of the runner's summaries per seed and in total: the
# impulse at which Poland and France fell (lost their last city or
# surrendered; "-" never), land battles, air fights, air strikes on land
# units (and of them those at the floor strength), city raids (and those
# that destroyed production), sea battles (fleets that met enemy
# formations), raider hunts (enemy raiders found and fought), convoy raids,
# landings from the sea, air units the computer replenished, wars the
# computer declared, orders refused for want of a path, fleets sent where
# the sea graph has no path, who holds Paris, and the seconds the game took.
# Below the table: the games with a sea battle, with a raider hunt and with
# an air replacement.
#   scripts/war_shape.sh SEEDS IMPULSES [PARALLEL]
# SEEDS: a list such as 1,2,3 or a range such as 101-120 (or both: 1-5,9).
# SCENARIO_DIR (environment): the scenario folder to play, by default the
# repository's data/scenarios/Europe1939 (to compare data sets); WORK_DIR
# (environment): where the games are played, by default
# build/release/war_shape (emptied first).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
  echo "usage: scripts/war_shape.sh SEEDS IMPULSES [PARALLEL]" >&2
  exit 2
fi
impulses="$2"
parallel="${3:-2}"
scenario_dir="${SCENARIO_DIR:-$root/data/scenarios/Europe1939}"
seeds=()
IFS=',' read -ra parts <<<"$1"
for part in "${parts[@]}"; do
  if [[ "$part" =~ ^([0-9]+)-([0-9]+)$ ]]; then
    for ((s = BASH_REMATCH[1]; s <= BASH_REMATCH[2]; ++s)); do seeds+=("$s"); done
  elif [[ "$part" =~ ^[0-9]+$ ]]; then
    seeds+=("$part")
  else
    echo "war_shape: not a seed or range: $part" >&2
    exit 2
  fi
done

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" headless_game >/dev/null
runner="$build/tools/headless_game"

work="${WORK_DIR:-$build/war_shape}"
rm -rf "$work"
mkdir -p "$work/scenario"
cp -r "$scenario_dir" "$work/scenario/Europe1939"

play_one() {
  local seed="$1" dir="$work/game-$1" rc=0
  mkdir -p "$dir/data/scenarios" "$dir/data/save"
  ln -s "$work/scenario/Europe1939" "$dir/data/scenarios/Europe1939"
  ln -s "$root/data/gfx" "$dir/data/gfx"
  (cd "$dir" && "$runner" Europe1939 "$impulses" "$seed" war --summary summary.txt >runner.out 2>&1) || rc=$?
  # The log of a long war is large: only the summary is kept.
  rm -rf "$dir/ConsoleOut.txt" "$dir/data/save"
  echo "$rc" >"$dir/rc"
}
export -f play_one
export work root runner impulses
printf '%s\n' "${seeds[@]}" | xargs -P "$parallel" -I{} bash -c 'play_one {}'

# The value of key in a summary line.
field() { sed -n "s/.* $2=\\(\"[^\"]*\"\\|[^ ]*\\).*/\\1/p" <<<"$1" | tr -d '"'; }
# Whether the war line's figure of key is above 0.
some() {
  local v
  v="$(field "$war" "$1")"
  [ "${v:-0}" -gt 0 ]
}
# The impulse at which the named country fell, "-" when it never did.
fell() {
  local line
  line="$(grep "^country .* name=\"$2\" " "$1" || true)"
  local n
  n="$(field "$line" fell)"
  if [ -z "$n" ] || [ "$n" = -1 ]; then echo "-"; else echo "$n"; fi
}

keys=(land_battles air_fights air_strikes floored_strikes city_raids city_raids_hurting sea_battles raider_hunts
      convoy_raids landings air_replacements computer_wars path_refusals fleet_path_warnings)
heads=(land air_f strike floor raid raid_hurt sea raider convoy landing air_repl ai_war no_path fleet_np)
declare -A total
for k in "${keys[@]}"; do total[$k]=0; done
failed=0 games=0 poland_1939=0 paris_german=0 with_sea=0 with_hunt=0 with_air_repl=0
printf '%-6s %-5s %-7s %-7s' seed exit poland france
for h in "${heads[@]}"; do printf ' %-9s' "$h"; done
printf ' %-10s %s\n' paris seconds
for seed in "${seeds[@]}"; do
  dir="$work/game-$seed"
  rc="$(cat "$dir/rc")"
  summary="$dir/summary.txt"
  if [ "$rc" != 0 ] || [ ! -f "$summary" ]; then
    failed=$((failed + 1))
    printf '%-6s %-5s (see %s)\n' "$seed" "$rc" "$dir/runner.out"
    continue
  fi
  games=$((games + 1))
  war="$(grep '^war ' "$summary")"
  poland="$(fell "$summary" Poland)"
  france="$(fell "$summary" France)"
  [ "$poland" != "-" ] && [ "$poland" -le 8 ] && poland_1939=$((poland_1939 + 1))
  paris="$(field "$(grep '^holder city="Paris"' "$summary" || true)" controller)"
  [ "$paris" = Germany ] && paris_german=$((paris_german + 1))
  printf '%-6s %-5s %-7s %-7s' "$seed" "$rc" "$poland" "$france"
  for k in "${keys[@]}"; do
    v="$(field "$war" "$k")"
    total[$k]=$((total[$k] + ${v:-0}))
    printf ' %-9s' "${v:-?}"
  done
  some sea_battles && with_sea=$((with_sea + 1))
  some raider_hunts && with_hunt=$((with_hunt + 1))
  some air_replacements && with_air_repl=$((with_air_repl + 1))
  printf ' %-10s %s\n' "${paris:-?}" "$(field "$(grep '^speed ' "$summary")" seconds)"
done
printf '%-6s %-5s %-7s %-7s' total "" "" ""
for k in "${keys[@]}"; do printf ' %-9s' "${total[$k]}"; done
printf '\n\ngames=%d failed=%d impulses=%s poland_fallen_by_8=%d paris_german=%d' "$games" "$failed" "$impulses" \
  "$poland_1939" "$paris_german"
printf ' with_sea_battles=%d with_raider_hunts=%d with_air_replacements=%d\n' "$with_sea" "$with_hunt" "$with_air_repl"
[ "$failed" -eq 0 ]
