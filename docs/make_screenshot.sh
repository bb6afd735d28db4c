#!/usr/bin/env bash
# Remakes docs/window.png: the window with sample entries on a virtual X
# display. Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
cmake --build "$build" --target window_sample
xvfb-run -a -s "-screen 0 460x220x24" bash -c "
  '$build/docs/window_sample' & pid=\$!
  sleep 2
  import -window root -crop 435x191+0+0 docs/window.png
  kill \$pid"
echo "wrote docs/window.png"
