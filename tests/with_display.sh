#!/bin/sh
# Runs a command on a virtual X display of its own:
#   with_display.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
# Xvfb picks a free display number itself (-displayfd); "xvfb-run -a" guesses
# one from the lock files, and two tests started together may guess the same.
set -eu
screen=$1
shift
folder=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$folder"' EXIT
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$folder/display" ] && break
  sleep 0.1
done
if [ ! -s "$folder/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$folder/xvfb.log" >&2
  exit 1
fi
DISPLAY=":$(tr -d '\n' <"$folder/display")"
export DISPLAY
status=0
"$@" || status=$?
exit "$status"
