#!/usr/bin/env bash
# Recaptures what the file managers of Debian 12 leave on the clipboard: in a
# folder of ten pictures with Spanish names, each program in turn selects all
# and copies (Ctrl+A, Ctrl+C), selects all and cuts (Ctrl+X), then selects
# the first file alone (End, Home) and copies it. Every target it then offers
# is saved here, in PROGRAM/CASE/, as the bytes it sent: TARGETS lists them
# in its order, and each target's bytes are in a file named after it ('/' as
# %2F); a target whose owner sent nothing has no file. PROGRAM/version is
# the package's version.
#
# Runs each program under Xvfb and openbox on its own display (:81 to :87),
# in a D-Bus session of its own, with a fresh HOME. Needs (imagemagick only
# for the screenshots it leaves in $SCREENSHOTS):
#   apt-get install -y --no-install-recommends pcmanfm pcmanfm-qt thunar caja \
#     nemo nautilus dolphin xvfb openbox xdotool xclip dbus imagemagick
# At the end the captures become the seeds of fuzz_file_list_clipboard.
# Usage: capture.sh [program ...]   (all of them without arguments)
#        capture.sh --seeds         (the seeds alone, from the captures here)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
folder="/tmp/clipboard-capture/Fotos de España"
work="$(mktemp -d)"

pictures=("Año nuevo en Málaga.jpg" "playa en Cádiz.jpg" "Sevilla 10.jpg" "foto (2).jpg"
  "50% rebajas.jpg" "Córdoba #3.jpg" "niño y señora.jpg" "¿Qué es esto?.jpg"
  "Pingüino + ñandú.jpg" "Guía de Ávila & Segovia.jpg")

# program, display, window class, command line
programs=(
  "pcmanfm 81 pcmanfm pcmanfm"
  "pcmanfm-qt 82 pcmanfm-qt pcmanfm-qt"
  "thunar 83 thunar thunar"
  "caja 84 caja caja --no-desktop --browser"
  "nemo 85 nemo nemo"
  "nautilus 86 org.gnome.Nautilus nautilus --new-window"
  "dolphin 87 dolphin dolphin --new-window"
)

started=()
cleanup()
{
  local pid
  for pid in "${started[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A small real JPEG under each name; only the names matter to a clipboard.
make_pictures()
{
  rm -rf "$folder"
  mkdir -p "$folder"
  for name in "${pictures[@]}"; do
    base64 -d >"$folder/$name" <<'EOF'
/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDABALDA4MChAODQ4SERATGCgaGBYWGDEjJR0oOjM9PDkzODdASFxOQERXRTc4UG1RV19iZ2hnPk1xeXBkeFxlZ2P/2wBDARESEhgVGC8aGi9jQjhCY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2NjY2P/wAARCAABAAEDASIAAhEBAxEB/8QAFQABAQAAAAAAAAAAAAAAAAAAAAX/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/8QAFQEBAQAAAAAAAAAAAAAAAAAABQb/xAAUEQEAAAAAAAAAAAAAAAAAAAAA/9oADAMBAAIRAxEAPwCuAkTb/9k=
EOF
  done
}

# The name of the file that holds a target's bytes.
file_name()
{
  local name="${1//%/%25}"
  echo "${name//\//%2F}"
}

# Saves every target of the clipboard, pressing the keys again before each:
# pcmanfm gives up a cut once one of its targets has been read.
save_clipboard()
{
  local folder_out="$1" target file
  shift
  rm -rf "$folder_out"
  mkdir -p "$folder_out"
  keys "$@"
  xclip -o -selection clipboard -t TARGETS >"$folder_out/TARGETS"
  while read -r target; do
    case "$target" in
    TARGETS | MULTIPLE | TIMESTAMP | SAVE_TARGETS | DELETE) continue ;;
    esac
    keys "$@"
    file="$folder_out/$(file_name "$target")"
    if ! xclip -o -selection clipboard -t "$target" >"$file" 2>/dev/null || [ ! -s "$file" ]; then
      rm -f "$file"
    fi
  done <"$folder_out/TARGETS"
  if ! grep -q -x -e text/uri-list -e x-special/gnome-copied-files -e x-special/mate-copied-files \
    "$folder_out/TARGETS"; then
    import -window root "${SCREENSHOTS:-$work}/failed.png" 2>/dev/null || true
    echo "no file list on the clipboard for $folder_out" >&2
    return 1
  fi
}

# One key at a time: pcmanfm-qt copies only text when Ctrl+C follows Ctrl+A
# at once.
keys()
{
  local key
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 1
  done
}

capture()
{
  local program="$1" display="$2" class="$3"
  shift 3
  export DISPLAY=":$display"
  local home="$work/home-$program"
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb-$program.log" 2>&1 &
  started+=($!)
  sleep 1
  openbox >"$work/openbox-$program.log" 2>&1 &
  started+=($!)
  sleep 1
  # An empty clipboard first, so that a capture never shows an earlier one.
  printf '' | xclip -selection clipboard
  HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 GSK_RENDERER=cairo NO_AT_BRIDGE=1 \
    QT_QPA_PLATFORM=xcb dbus-run-session -- "$@" "$folder" >"$work/$program.log" 2>&1 &
  local session=$!
  started+=("$session")
  local window
  window="$(timeout 60 xdotool search --sync --onlyvisible --class "$class" | head -1)"
  sleep 3
  xdotool windowsize --sync "$window" 1200 760 windowmove --sync "$window" 40 20 windowactivate --sync "$window"
  sleep 1
  # A click on the free space below the icons puts the focus in the view.
  xdotool mousemove --sync 900 700 click 1
  sleep 1
  save_clipboard "$here/$program/copy-all" ctrl+a ctrl+c
  save_clipboard "$here/$program/cut-all" ctrl+a ctrl+x
  save_clipboard "$here/$program/copy-one" End Home ctrl+c
  # What the screen showed at the end, for a look when a capture is odd.
  import -window root "${SCREENSHOTS:-$work}/$program.png" 2>/dev/null || true
  local child
  for child in $(pgrep -P "$session"); do
    kill "$child" 2>/dev/null || true
  done
  dpkg-query -W -f '${Package} ${Version}\n' "$program" >"$here/$program/version"
}

# One byte of the given value: printf makes it from an octal escape.
byte()
{
  # shellcheck disable=SC2059
  printf "\\$(printf %03o "$1")"
}

# Each capture as a seed: for each target, its number in the fuzzer's table
# of formats, its length (two bytes, low first) and its bytes.
write_seeds()
{
  local seeds="$here/../../../fuzz/corpus/file_list_clipboard" capture target file size index
  local formats=(text/uri-list x-special/gnome-copied-files x-special/mate-copied-files
    application/x-kde4-urilist application/x-kde-urilist application/x-kde-cutselection UTF8_STRING
    text/plain "text/plain;charset=utf-8" text/x-moz-url STRING)
  rm -rf "$seeds"
  mkdir -p "$seeds"
  for capture in "$here"/*/*/; do
    local seed
    seed="$seeds/$(basename "$(dirname "$capture")")-$(basename "$capture")"
    : >"$seed"
    while read -r target; do
      file="$capture/$(file_name "$target")"
      [ -f "$file" ] || continue
      for index in "${!formats[@]}"; do
        [ "${formats[$index]}" = "$target" ] || continue
        size="$(stat -c %s "$file")"
        {
          byte "$index"
          byte $((size & 255))
          byte $((size >> 8))
          cat "$file"
        } >>"$seed"
      done
    done <"$capture/TARGETS"
  done
}

if [ "${1:-}" = --seeds ]; then
  write_seeds
  exit
fi
make_pictures
[ "$#" -gt 0 ] || set -- pcmanfm pcmanfm-qt thunar caja nemo nautilus dolphin
for wanted in "$@"; do
  for entry in "${programs[@]}"; do
    read -r -a fields <<<"$entry"
    if [ "${fields[0]}" = "$wanted" ]; then
      capture "${fields[@]}"
    fi
  done
done
write_seeds
