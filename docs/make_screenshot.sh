#!/usr/bin/env bash
# Remakes docs/window.png: the window with sample entries, in its frame,
# under openbox on a virtual X display. Needs xvfb, openbox, xdotool and
# imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
cmake --build "$build" --target window_sample
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
xvfb-run -a -s "-screen 0 640x400x24" env XDG_CONFIG_HOME="$config" bash -c "
  openbox & wm=\$!
  sleep 1
  '$build/docs/window_sample' resources/lumvrex.png & pid=\$!
  window=\$(xdotool search --sync --name '^Zantrel - Lumvrex')
  sleep 1
  import -frame -window \"\$window\" docs/window.png
  kill \$pid \$wm"
echo "wrote docs/window.png"
