#!/usr/bin/env bash
# lumvrex.exe end to end under Wine, driven from outside as a person would:
# keys and clicks from xdotool, text through the clipboard (xdotool cannot
# type every character), files dragged from an X program onto the page
# list. Checks what can be seen from outside (windows, their titles and
# properties, the names a screen reader hears, files, the exit code) and
# reads each written script back against lumvrex-cli for Linux. Lumvrex's
# own texts are expected in the language of the locale, as the build's
# catalogue has them (gettext reads it).
#
# Usage: window_e2e.sh BUILD_DIR LINUX_CLI OUTPUT_DIR
# Needs DISPLAY (an X server with no window manager), WINEPREFIX with its
# wineserver running, all of it in a locale whose decimal separator is a
# comma (scripts/test-windows uses es_ES.UTF-8), xdotool, xprop, xclip,
# imagemagick, gettext, and /usr/bin/python3 with PyQt6. Leaves screenshots
# in OUTPUT_DIR, window.png, ask.png (the input dialog) and warning.png (a
# failed write) among them.
set -euo pipefail

build=$(realpath "$1")
linux_cli=$(realpath "$2")
out=$3
here=$(cd "$(dirname "$0")" && pwd)
exe=$build/app/lumvrex.exe
names_exe=$build/tests/windows/accessible_names.exe
events_exe=$build/tests/windows/win_events.exe
caption='Zantrel - Lumvrex by the Lumvrex team'

rm -rf "$out"
mkdir -p "$out/work/files/Año nuevo"
out=$(realpath "$out")
work=$out/work
touch "$work/files/playa en Cádiz.jpg" "$work/files/foto (1).jpg" "$work/files/niño ✓ 日本.png"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# The whole screen, or one window (managed by Wine, an X window is the
# client area alone).
shot() { import -window "${2:-root}" "$out/$1.png" 2>/dev/null || true; }
fail() {
  echo "window test: FAILED: $*" >&2
  shot failure
  exit 1
}
step() { echo "window test: $*"; }

# A text of the catalogue in the locale's language, its placeholders
# filled: said CONTEXT ENGLISH [ARGUMENT...]; count: CONTEXT ONE MANY N.
fill() {
  local text=$1 i=1
  shift
  for argument; do
    text=${text//"%$i\$s"/"$argument"}
    i=$((i + 1))
  done
  printf '%s' "${text//"%s"/"${1:-}"}"
}
said() {
  local context=$1 english=$2
  shift 2
  fill "$(TEXTDOMAINDIR="$build/share/locale" LANGUAGE='' gettext -d lumvrex -c "$context" "$english")" "$@"
}
said_count() {
  fill "$(TEXTDOMAINDIR="$build/share/locale" LANGUAGE='' ngettext -d lumvrex -c "$1" "$2" "$3" "$4")" "$4"
}

# The X window whose name is exactly the given text.
window_named() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && { echo "$id"; return 0; }
  done
  return 0
}
wait_for() {
  local id
  for _ in $(seq 100); do
    id=$(window_named "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window \"$1\""
}
wait_gone() {
  for _ in $(seq 100); do
    [ -z "$(window_named "$1")" ] && return 0
    sleep 0.1
  done
  fail "the window \"$1\" stays"
}

# Text typed into the focused control, through the clipboard: xclip holds
# it (in the foreground, so that it can be ended) until it is pasted.
paste() {
  printf '%s' "$1" >"$out/clipboard.txt"
  xclip -quiet -selection clipboard -i "$out/clipboard.txt" >>"$out/xclip.log" 2>&1 &
  local holder=$!
  sleep 0.2
  xdotool key --clearmodifiers ctrl+v
  sleep 0.2
  kill "$holder" 2>/dev/null || true
  wait "$holder" 2>/dev/null || true
}
# Twips to pixels at 96 dpi, as the window lays itself out.
px() { echo $(($1 * 96 / 1440)); }
# Clicks the middle of a control given by its twips rectangle.
click_at() {
  xdotool mousemove $((client_x + $(px $(($1 + $3 / 2))))) $((client_y + $(px $(($2 + $4 / 2))))) click 1
  sleep 0.3
}
focus_window() { xdotool windowfocus --sync "$window" 2>/dev/null || true; sleep 0.2; }

# A drag from an X program, as from a file manager, onto the page list.
drag_onto_list() {
  /usr/bin/python3 "$here/drag_source.py" DragSource 520 60 "$@" >>"$out/drag.log" 2>&1 &
  local source_pid=$!
  pids+=("$source_pid")
  local source
  source=$(wait_for DragSource)
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$source")"
  local from_x=$((X + WIDTH / 2)) from_y=$((Y + HEIGHT / 2))
  local to_x=$((client_x + $(px $((1200 + 4335 / 2))))) to_y=$((client_y + $(px $((840 + 255 / 2)))))
  xdotool mousemove "$from_x" "$from_y" mousedown 1
  sleep 0.3
  for i in $(seq 10); do
    xdotool mousemove $((from_x + (to_x - from_x) * i / 10)) $((from_y + (to_y - from_y) * i / 10))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  for _ in $(seq 50); do grep -q '^dropped: CopyAction' "$out/drag.log" && break; sleep 0.1; done
  grep -q '^dropped: CopyAction' "$out/drag.log" || fail "the drop was not taken"
  kill "$source_pid"
  wait "$source_pid" 2>/dev/null || true
  : >"$out/drag.log"
  sleep 0.3
}

# Create pub, answered with a path (or Escape for Cancel): the input dialog
# must come, and then the message box titled "Lumvrex" when expect_message
# (its screenshot: the name given, or message-N).
create_pub() {
  local answer=$1 expect_message=$2 box_shot=${3:-}
  focus_window
  click_at 120 2400 1335 375
  # A page that names no picture (the dropped folder) is asked about first:
  # Yes, from the keyboard (No is the default), goes on as always.
  local question dialog
  for _ in $(seq 30); do
    dialog=$(window_named 'C:\MyEBook.pub')
    [ -n "$dialog" ] && break
    question=$(window_named Lumvrex)
    if [ -n "$question" ]; then
      [ -f "$out/missing-question.png" ] || shot missing-question "$question"
      xdotool windowfocus --sync "$question" 2>/dev/null || true
      xdotool key shift+Tab space
      wait_gone Lumvrex
    fi
    sleep 0.1
  done
  dialog=$(wait_for 'C:\MyEBook.pub')
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.2
  [ -f "$out/ask.png" ] || shot ask "$dialog"
  if [ "$answer" = CANCEL ]; then
    xdotool key Escape
  else
    paste "$answer"
    xdotool key Return
  fi
  wait_gone 'C:\MyEBook.pub'
  if [ "$expect_message" = yes ]; then
    local box
    box=$(wait_for Lumvrex)
    messages=$((messages + 1))
    shot "${box_shot:-message-$messages}" "$box"
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key Return
    wait_gone Lumvrex
  fi
  sleep 0.2
  [ -n "$(window_named "$caption")" ] || fail "the window is gone after Create pub"
}

# Types an answer into the dialog of that title, and Return.
answer_dialog() {
  local dialog
  dialog=$(wait_for "$1")
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.5
  paste "$2"
  xdotool key Return
}
# From the page list, Create pub with the keyboard alone: Tab to it (past
# Clear, the width, the height and the icon), Return, the path, Return, and
# Return on "Finished!".
create_pub_from_list() {
  xdotool key Tab Tab Tab Tab Tab Return
  answer_dialog 'C:\MyEBook.pub' "$1"
  local box
  box=$(wait_for Lumvrex)
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key Return
  wait_gone Lumvrex
}
# The FileName lines of a script written in the work folder.
pages_of() { grep -a '^FileName=' "$work/$1" | tr -d '\r' || true; }

windows_path() { winepath -w "$1" 2>/dev/null; }
without_effects() { grep -av '^PageEffect = ' "$1"; }

start_window() {
  (cd "$work" && exec wine "$exe") >>"$out/wine.log" 2>&1 &
  app=$!
  pids+=("$app")
  window=$(wait_for "$caption")
  # The client area, inside the frame Wine draws: a border around, the
  # caption above.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(((WIDTH - 435) / 2))
  client_x=$((X + border)) client_y=$((Y + HEIGHT - 191 - border))
}
wait_ended() {
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "still running after $1"
  wait "$app" || fail "exit code $? after $1"
}
managed_by_wine() {
  if [ "$1" = yes ]; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >>"$out/wine.log" 2>&1 || true
  else
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$out/wine.log" 2>&1
  fi
}

messages=0
cd "$work"

step "as a window manager sees it"
# Wine hands its windows to a window manager unless told otherwise. The X
# window is then the client area, and its properties say what it is.
managed_by_wine yes
started=$(date +%s%N)
start_window
step "window shown after $((($(date +%s%N) - started) / 1000000)) ms"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 435 ] && [ "$HEIGHT" = 191 ] || fail "client area ${WIDTH}x$HEIGHT, not 435x191"
xprop -id "$window" _NET_WM_STATE WM_NORMAL_HINTS >"$out/xprop.txt"
grep -q _NET_WM_STATE_SKIP_TASKBAR "$out/xprop.txt" || fail "the window would be in the task bar"
grep -q 'program specified minimum size: 435 by 191' "$out/xprop.txt" \
  && grep -q 'program specified maximum size: 435 by 191' "$out/xprop.txt" || fail "the window can be resized"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key alt+F4 # the close box, from the keyboard
wait_ended Alt+F4

# From here on Wine draws the frame itself, as Windows would: no window
# manager to wait for (Wine waits up to 2 s for one at every window it
# hides), and the screenshot shows the caption.
managed_by_wine no
step "start"
start_window

step "fields, walked with Tab from Create pub"
focus_window
xdotool key Tab Tab
paste 'Viaje a Cádiz'
xdotool key Tab
paste '16777215'
xdotool key Tab
paste 'nada de esto ✓' # Init message: never written
xdotool key Tab Tab Tab # the page list, Clear, the width
paste '800'
xdotool key Tab
paste '600'
xdotool key Tab
paste 'C:\Iconos\viaje.ico'

step "a page Windows-1252 cannot hold is refused before any question"
drag_onto_list "$work/files/niño ✓ 日本.png"
focus_window
click_at 120 2400 1335 375
box=$(wait_for Lumvrex)
[ -z "$(window_named 'C:\MyEBook.pub')" ] || fail "the path was asked for"
shot refused "$box"
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_gone Lumvrex
focus_window
click_at 5640 840 735 255 # Clear

step "drops: three files and a folder, then one again"
drag_onto_list "$work/files/playa en Cádiz.jpg" "$work/files/Año nuevo" "$work/files/foto (1).jpg"
drag_onto_list "$work/files/playa en Cádiz.jpg"
shot dropped
wine "$names_exe" "$caption" >"$out/names.txt" 2>>"$out/wine.log" || fail "cannot read the accessible names"
diff -u - <(cut -f2 "$out/names.txt" | head -10) <<EOF || fail "screen readers hear other names"
Create pub
Exit
E-Book title:
Back color:
Init message:
Pages: $(said_count 'spoken name' '%s page' '%s pages' 4)
Clear
Resolution (w,h): $(said 'spoken name' width)
Resolution (w,h): $(said 'spoken name' height)
Icon:
EOF

# The window as README shows it, with the focus on Create pub.
click_at 120 120 975 255 # on a label: the window is active again after the drag
focus_window
xdotool key Tab Tab Tab Tab # from Clear, clicked last: width, height, icon, Create pub
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" "$out/window.png"

step "Create pub, cancelled"
create_pub CANCEL no
[ -z "$(ls "$work" | grep -v '^files$')" ] || fail "Cancel wrote something: $(ls "$work")"

step "Create pub to a path with accents and a check mark"
create_pub 'Libro de Cádiz ✓.pub' yes
[ -f "$work/Libro de Cádiz ✓.pub" ] || fail "no \"Libro de Cádiz ✓.pub\""

step "Create pub to a folder that does not exist: warned, nothing written"
create_pub 'Z:\no such folder\libro.pub' yes warning

step "Clear, then Create pub again: no pages"
focus_window
click_at 5640 840 735 255
create_pub 'vacío.pub' yes

step "keyboard only: paste, the open dialog, Delete, Ctrl+Left, Clear, Ctrl+Z, Create pub"
mkdir -p "$work/files/teclado"
touch "$work/files/teclado/"{a,b,c,d}.png
# Files copied in an X program: a URI list, which Wine offers as CF_HDROP.
printf 'file://%s\r\nfile://%s\r\n' "$work/files/teclado/a.png" "$work/files/teclado/b.png" >"$out/uris.txt"
xclip -quiet -selection clipboard -t text/uri-list -i "$out/uris.txt" >>"$out/xclip.log" 2>&1 &
holder=$!
sleep 0.3
focus_window
xdotool key Tab Tab Tab Tab Tab # from Create pub to the page list
xdotool key --clearmodifiers ctrl+v
sleep 0.5
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
shot list-after-paste
xdotool key Insert
answer_dialog "$(said 'open dialog' 'Add pictures')" '"c.png" "d.png"'
wait_gone "$(said 'open dialog' 'Add pictures')"
focus_window
# a b c d with c selected: Delete leaves d selected, Ctrl+Left puts it before b.
xdotool key Delete ctrl+Left
xdotool key Menu
sleep 0.5
shot context-menu
xdotool key Escape
sleep 0.2
wine "$names_exe" "$caption" LumvrexPageList >"$out/items.txt" 2>>"$out/wine.log" || fail "cannot read the entries' names"
# Each entry by its page and name alone, without a description.
for entry in 1:a 2:d 3:b; do
  printf '%s\t\n' "$(said 'spoken name' 'page %1$s of %2$s, %3$s' "${entry%:*}" 3 "${entry#*:}.png")"
done >"$out/items-expected.txt"
diff -u "$out/items-expected.txt" <(tr -d '\r' <"$out/items.txt") || fail "screen readers hear other entries"
xdotool key Tab space # Clear
xdotool key shift+Tab ctrl+z
sleep 0.3
create_pub_from_list teclado.pub
pages=$(pages_of teclado.pub)
expected_pages=$(for f in a d b; do echo "FileName=$(windows_path "$work/files/teclado/$f.png")"; done)
[ "$pages" = "$expected_pages" ] || fail "the pages are: $pages"

step "keyboard only: pages pasted out of order, Sort by name (Ctrl+Shift+N), Create pub"
mkdir -p "$work/files/orden"
touch "$work/files/orden/"{'foto 10','foto 1','foto 2'}.jpg
# Copied in the order 10, 1, 2; name order is 1, 2, 10.
printf 'file://%s\r\n' "$work/files/orden/foto 10.jpg" "$work/files/orden/foto 1.jpg" \
  "$work/files/orden/foto 2.jpg" | sed 's/ /%20/g' >"$out/uris.txt"
xclip -quiet -selection clipboard -t text/uri-list -i "$out/uris.txt" >>"$out/xclip.log" 2>&1 &
holder=$!
# What a screen reader hears meanwhile, from another process.
wine "$events_exe" "$caption" 60 >"$out/events.txt" 2>>"$out/wine.log" &
listener=$!
pids+=("$listener")
sleep 1
focus_window
xdotool key Tab Tab Tab Tab Tab # from Create pub to the page list
xdotool key ctrl+shift+Delete # Clear
sleep 0.3
xdotool key --clearmodifiers ctrl+v
sleep 0.5
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
xdotool key ctrl+shift+n
sleep 0.3
shot sorted
xdotool key Menu
sleep 0.5
xdotool key Escape
sleep 0.5
kill "$listener" 2>/dev/null || true
wait "$listener" 2>/dev/null || true
# Clear's note, "Pages: 0 pages", once, from a help balloon (which screen
# readers say as it appears); the entry that has the focus after Sort by
# name, and again once the menu is gone.
tab=$'\t'
note="show${tab}tooltips_class32${tab}0${tab}31${tab}Pages: $(said_count 'spoken name' '%s page' '%s pages' 0)"
[ "$(grep -cxF "$note" "$out/events.txt")" = 1 ] || fail "the note was not told once: $(cat "$out/events.txt")"
entry="focus${tab}LumvrexPageList${tab}3${tab}34${tab}$(said 'spoken name' 'page %1$s of %2$s, %3$s' 3 3 'foto 10.jpg')"
[ "$(grep -cxF "$entry" "$out/events.txt")" = 2 ] \
  || fail "the focused entry was not told after sorting and after the menu: $(cat "$out/events.txt")"
[ "$(tail -n 1 "$out/events.txt")" = "$entry" ] || fail "not told the focused entry last: $(cat "$out/events.txt")"
create_pub_from_list orden.pub
pages=$(pages_of orden.pub)
expected_pages=$(for f in 'foto 1' 'foto 2' 'foto 10'; do echo "FileName=$(windows_path "$work/files/orden/$f.jpg")"; done)
[ "$pages" = "$expected_pages" ] || fail "the pages are not in name order: $pages"

step "Exit"
focus_window
click_at 1560 2400 1335 375
wait_ended Exit

step "the scripts, byte for byte against lumvrex-cli for Linux"
fields=(--title 'Viaje a Cádiz' --back-color 16777215 --width 800 --height 600 --icon 'C:\Iconos\viaje.ico')
files=$work/files
"$linux_cli" "${fields[@]}" -o "$out/expected.pub" \
  "$(windows_path "$files/playa en Cádiz.jpg")" "$(windows_path "$files/Año nuevo")" \
  "$(windows_path "$files/foto (1).jpg")" "$(windows_path "$files/playa en Cádiz.jpg")"
cmp <(without_effects "$work/Libro de Cádiz ✓.pub") <(without_effects "$out/expected.pub") \
  || fail "\"Libro de Cádiz ✓.pub\" differs from lumvrex-cli's script beyond its page effects"
# The window took its decimal separator from the user's settings.
effects=$(grep -ac $'^PageEffect = [0-9]*\\(,[0-9]*\\)\\?\r$' "$work/Libro de Cádiz ✓.pub" || true)
[ "$effects" = 4 ] || fail "$effects page effects in the Spanish form, not 4"
"$linux_cli" "${fields[@]}" -o "$out/expected-empty.pub"
cmp "$work/vacío.pub" "$out/expected-empty.pub" || fail "\"vacío.pub\" differs from lumvrex-cli's script"
# Those four and the dropped files: no temporary or partial file anywhere.
[ "$(ls -A "$work" | wc -l)" = 5 ] || fail "unexpected files: $(ls -A "$work")"

step "passed"
