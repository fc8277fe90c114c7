#!/usr/bin/env bash
# The layer check (the README draws the layers). Prints every breach and
# exits 1 when there is one.
#
#   scripts/check_layers.sh [--src FOLDER] [--libs FOLDER]
#
# Includes (always, over --src, default the tree's src/): every file in a
# layer folder and its subfolders is read, whatever its extension, and every
# include directive in it counts: "..." and <...>, #include, #include_next
# and #import, spaced, commented or continued over lines however it is
# written. Each target is resolved as the compiler does (beside the file for
# "...", then src/) and must lie in the file's own layer or a lower one.
# Besides:
#   - the window layer (platform/sdl) and SDL's and FFmpeg's headers are
#     reached only from the window layer and the frame;
#   - rules/ and ai/ run on the worker thread, which draws and plays nothing:
#     they include nothing of gui/ or map_drawing/ nor app's drawing,
#     texture, skin, sound, music and layout services (gui_services below);
#   - an include the check cannot read (a macro) is refused, as is a
#     symbolic link in the tree or a source folder without a layer.
#
# Links (with --libs, the folder of the built libtw_*.a): a symbol a library
# refers to must be defined in a library of its own layer or a lower one, by
# the same rules (or outside the project's libraries, e.g. the system's).
# This sees what no include shows: a higher layer's function declared
# locally.
set -euo pipefail

src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)"
libs=""
while [ $# -gt 0 ]; do
  case "$1" in
    --src) src="$(cd "$2" && pwd)"; shift 2 ;;
    --libs) libs="$(cd "$2" && pwd)"; shift 2 ;;
    *) echo "usage: $0 [--src FOLDER] [--libs FOLDER]" >&2; exit 2 ;;
  esac
done

# Folder and layer, lowest first. A folder's subfolders belong to its layer,
# except platform/sdl: the window layer, which only the frame at the top
# reaches, so game logic never sees SDL.
layers="
platform 0
platform/sdl 0
app 1
gui 2
world 3
files 4
rules 5
ai 6
map_drawing 7
dialogs 8
screens 9
frame 10
"
# What the worker's code (rules/, ai/) never uses: the GUI toolkit, the
# map's drawing and the app services that draw, load pictures or make sound
# (files of app/ by name).
worker_forbidden_folders="gui map_drawing dialogs screens"
gui_services="texture skins draw_objects sound gui_sound music_player movie_player gui_layout hoverable"

declare -A rank=()
folders=()
while read -r folder r; do
  [ -n "$folder" ] || continue
  rank[$folder]=$r
  folders+=("$folder")
done <<<"$layers"

status=0
refuse() {
  echo "layer check: $*"
  status=1
}

# The helpers below answer in a variable, not on stdout: the check calls
# them for every include and a subshell each time would make it slow.

# layer= the layer folder of a path below src/: platform/sdl, or its first
# component.
layer_of() {
  case "$1" in
    platform/sdl/*) layer="platform/sdl" ;;
    *) layer="${1%%/*}" ;;
  esac
}

# why= what forbids folder $1 to reach $3 (a path below src/, in layer
# folder $2), or nothing when it may.
breach() {
  local from="$1" to="$2" name="${3##*/}"
  name="${name%%.*}"
  why=""
  if [ -z "${rank[$to]+x}" ]; then
    why="from src/$to, which has no layer"
  elif [ "$to" = "platform/sdl" ] && [ "$from" != "platform/sdl" ] && [ "$from" != "frame" ]; then
    why="(only the frame reaches the window layer)"
  elif [ "${rank[$to]}" -gt "${rank[$from]}" ]; then
    why="(layer ${rank[$to]})"
  elif [[ ("$from" = "rules" || "$from" = "ai") && " $worker_forbidden_folders " == *" $to "* ]]; then
    why="(the worker's code uses no GUI)"
  elif [[ ("$from" = "rules" || "$from" = "ai") && "$to" = "app" && " $gui_services " == *" $name "* ]]; then
    why="(the worker's code uses no drawing or audio service)"
  fi
}

# normalized= path $1 with "." and ".." taken out (the tree holds no
# symbolic links).
normalize() {
  local part IFS=/
  local -a out=()
  for part in $1; do
    case "$part" in
      "" | .) ;;
      ..) [ "${#out[@]}" -eq 0 ] || unset 'out[${#out[@]}-1]' ;;
      *) out+=("$part") ;;
    esac
  done
  normalized="/${out[*]}"
}

# Prints each include directive of the files named on the command line as
# file TAB form TAB target: form q for "target", a for <target>, ? for any
# other (the directive's text). Backslash-newlines are spliced first, then
# comments (outside string and character literals, raw strings included)
# become a space, as the compiler does before it reads a directive; "%:" is
# the digraph of "#".
extract_includes() {
  awk '
    function strip(s,   out, i, j, n, c, delim) {
      out = ""; n = length(s); i = 1
      while (i <= n) {
        if (in_comment) {
          j = index(substr(s, i), "*/")
          if (!j) return out
          in_comment = 0; i += j + 1; out = out " "; continue
        }
        if (raw_end != "") {
          j = index(substr(s, i), raw_end)
          if (!j) return out
          i += j - 1 + length(raw_end); raw_end = ""; out = out "\"\""; continue
        }
        c = substr(s, i, 1)
        if (substr(s, i, 2) == "/*") { in_comment = 1; i += 2; continue }
        if (substr(s, i, 2) == "//") return out
        if (c == "\"" && out ~ /(^|[^A-Za-z0-9_])(u8|L|u|U)?R$/ && match(substr(s, i + 1), /^[^()\\ \t]*\(/)) {
          delim = substr(s, i + 1, RLENGTH - 1)
          raw_end = ")" delim "\""; i += RLENGTH + 1; continue
        }
        if (c == "'\''" && out ~ /(^|[^A-Za-z0-9_.])\.?[0-9][A-Za-z0-9_.'\'']*$/) {  # digit separator
          out = out c; i++; continue
        }
        if (c == "\"" || c == "'\''") {
          for (j = i + 1; j <= n && substr(s, j, 1) != c; j++) if (substr(s, j, 1) == "\\") j++
          out = out substr(s, i, j - i + 1); i = j + 1; continue
        }
        out = out c; i++
      }
      return out
    }
    function directive(line, file,   code, rest, end) {
      code = strip(line)
      if (!match(code, /^[ \t]*(#|%:)[ \t]*(include_next|include|import)/)) return
      rest = substr(code, RSTART + RLENGTH)
      if (rest ~ /^[A-Za-z0-9_]/) return
      sub(/^[ \t]+/, "", rest)
      if (rest ~ /^"[^"]+"/) { end = index(substr(rest, 2), "\""); print file "\tq\t" substr(rest, 2, end - 1) }
      else if (rest ~ /^<[^>]+>/) { end = index(rest, ">"); print file "\ta\t" substr(rest, 2, end - 2) }
      else { sub(/[ \t]+$/, "", code); sub(/^[ \t]+/, "", code); print file "\t?\t" code }
    }
    FNR == 1 {
      if (pending != "") directive(pending, previous)
      pending = ""; in_comment = 0; raw_end = ""; previous = FILENAME
    }
    {
      line = $0
      sub(/\r$/, "", line)
      if (line ~ /\\$/) { pending = pending substr(line, 1, length(line) - 1); next }
      directive(pending line, FILENAME)
      pending = ""
    }
    END { if (pending != "") directive(pending, previous) }
  ' "$@"
}

check_includes() {
  local folder dir link file form target from path rel target_rel layer normalized why
  local -a tops=() files=()
  for folder in "${folders[@]}"; do
    [ -d "$src/$folder" ] || refuse "missing folder src/$folder"
    [[ "$folder" == */* || ! -d "$src/$folder" ]] || tops+=("$src/$folder")
  done
  # A source folder that the table does not name has no layer yet.
  for dir in "$src"/*/; do
    folder="${dir%/}"
    folder="${folder#"$src"/}"
    [ -n "${rank[$folder]+x}" ] || refuse "src/$folder has no layer"
  done
  while IFS= read -r -d '' link; do
    refuse "${link#"$src"/} is a symbolic link (a layer holds its own files)"
  done < <(find "$src" -type l -print0)

  [ "${#tops[@]}" -gt 0 ] || return
  while IFS= read -r -d '' file; do files+=("$file"); done < <(find "${tops[@]}" -type f -print0 | sort -z)
  [ "${#files[@]}" -gt 0 ] || { refuse "no source files under $src"; return; }

  while IFS=$'\t' read -r file form target; do
    rel="${file#"$src"/}"
    layer_of "$rel"
    from="$layer"
    if [ "$form" = "?" ]; then
      refuse "$rel: an include the check cannot read: $target"
      continue
    fi
    if [[ "$target" == SDL* || "$target" == libav* || "$target" == libsw* ]] &&
      [ "$from" != "platform/sdl" ] && [ "$from" != "frame" ]; then
      refuse "$rel includes $target (only the window layer and the frame include SDL and FFmpeg)"
      continue
    fi
    # As the compiler looks: "..." beside the including file first, then
    # src/ (every library's include folder). A target in neither is the
    # system's, unless it names a source folder (a file not written yet).
    if [ "$form" = "q" ] && [ -e "${file%/*}/$target" ]; then
      path="${file%/*}/$target"
    elif [ -e "$src/$target" ] || [[ "$target" == */* && -d "$src/${target%%/*}" ]]; then
      path="$src/$target"
    else
      continue
    fi
    normalize "$path"
    if [[ "$normalized" != "$src"/*/* ]]; then
      refuse "$rel includes $target, which lies in no layer folder"
      continue
    fi
    target_rel="${normalized#"$src"/}"
    layer_of "$target_rel"
    breach "$from" "$layer" "$target_rel"
    [ -z "$why" ] || refuse "$rel (layer ${rank[$from]}) includes $target $why"
  done < <(extract_includes "${files[@]}")
  [ "$status" -ne 0 ] || echo "layer check: ${#files[@]} files, every include within its layer or below"
}

# Every symbol a library refers to, against the libraries that define it.
check_links() {
  local folder lib
  local -a missing=()
  for folder in "${folders[@]}"; do
    lib="$libs/libtw_${folder//\//_}.a"
    [ -f "$lib" ] || missing+=("$lib")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    refuse "missing libraries (build them first): ${missing[*]}"
    return
  fi
  local before=$status
  while IFS= read -r line; do refuse "$line"; done < <(
    for folder in "${folders[@]}"; do
      nm -A -P -g "$libs/libtw_${folder//\//_}.a" | sed "s|^|$folder |"
    done | awk -v layers="$layers" -v worker_folders="$worker_forbidden_folders" -v services="$gui_services" '
      BEGIN {
        n = split(layers, t, /[ \n]+/)
        for (i = 1; i < n; i++) if (t[i] != "") { rank[t[i]] = t[i + 1]; i++ }
        split(worker_folders, t, " "); for (i in t) worker_forbidden[t[i]] = 1
        split(services, t, " "); for (i in t) service[t[i] ".cpp.o"] = 1
      }
      # What forbids folder from to use a definition in folder to (object
      # member), or "" when it may.
      function breach(from, to, member) {
        if (rank[to] > rank[from]) return "layer " rank[to]
        if (to == "platform/sdl" && from != "platform/sdl" && from != "frame") return "only the frame reaches the window layer"
        if (from == "rules" || from == "ai") {
          if (to in worker_forbidden) return "the worker'"'"'s code uses no GUI"
          if (to == "app" && (member in service)) return "the worker'"'"'s code uses no drawing or audio service"
        }
        return ""
      }
      {
        # folder lib.a[member.o]: symbol type [value size]
        member = $2; sub(/^.*\[/, "", member); sub(/\]:$/, "", member)
        if ($4 == "U" || $4 == "w" || $4 == "v") { nref++; rf[nref] = $1; rm[nref] = member; rs[nref] = $3 }
        else defs[$3] = defs[$3] " " $1 "|" member
      }
      END {
        for (i = 1; i <= nref; i++) {
          sym = rs[i]
          if (!(sym in defs)) continue  # not the project'"'"'s: the system'"'"'s
          key = rf[i] SUBSEP rm[i] SUBSEP sym
          if (key in seen) continue
          seen[key] = 1
          k = split(defs[sym], d, " ")
          where = ""
          for (j = 1; j <= k; j++) {
            split(d[j], fm, "|")
            why = breach(rf[i], fm[1], fm[2])
            if (why == "") break
            where = where (where == "" ? "" : ", ") fm[1] "/" fm[2] " (" why ")"
          }
          if (why == "") continue
          lib = rf[i]; gsub(/\//, "_", lib)
          print "libtw_" lib ".a (" rm[i] ", layer " rank[rf[i]] ") uses " sym ", defined only in " where
        }
      }' | c++filt
  )
  [ "$status" -ne "$before" ] || echo "layer check: ${#folders[@]} libraries, every symbol they use from their layer or below"
}

check_includes
[ -z "$libs" ] || check_links
exit "$status"
