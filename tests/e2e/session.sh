#!/usr/bin/env bash
# Runs a command in a desktop of its own: a session bus, an X display (the
# first free one of :61 to :69), openbox and, with --orca, the Orca screen
# reader writing what it says into a log. Everything it starts is ended when
# the command ends, fails or is interrupted.
#
#   session.sh [--orca] [--keep] [--logs FOLDER] COMMAND [ARGUMENT...]
#
# The command finds E2E_WORK (a folder of its own, with home/ as HOME),
# DISPLAY and, with --orca, ORCA_LOG in its environment. --keep leaves
# E2E_WORK behind for a look at the logs; --logs copies the logs (Orca's,
# the programs' output) to FOLDER when the command fails.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${E2E_INNER:-}" ]; then
  orca=0 keep=0 logs=
  while [ $# -gt 0 ]; do
    case "$1" in
      --orca) orca=1; shift ;;
      --keep) keep=1; shift ;;
      --logs) logs=$2; shift 2 ;;
      *) break ;;
    esac
  done
  work=$(mktemp -d /tmp/lumvrex-e2e.XXXXXX)
  mkdir -m 700 "$work/runtime" "$work/home"
  # A runtime folder of its own before the bus starts: the accessibility bus
  # would otherwise put its socket in ~/.cache, which every session of the
  # same user shares (and one session's bus launcher removes). A home of its
  # own: the programs' settings are their stock ones.
  home="$work/home"
  # In a process group of its own, which is ended as a whole at the end:
  # the bus starts services (the accessibility bus, its registry) that no
  # one else would end.
  env E2E_INNER=1 E2E_ORCA=$orca E2E_WORK="$work" XDG_RUNTIME_DIR="$work/runtime" HOME="$home" \
    XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" \
    setsid dbus-run-session -- "$0" "$@" 3>&2 4>&1 2>"$work/bus.log" 1>&2 &
  session=$!
  trap 'kill -TERM -- -$session 2>/dev/null || true' INT TERM
  status=0
  wait "$session" || status=$?
  # A signal interrupts the first wait; the session still ends in order.
  kill -0 "$session" 2>/dev/null && { wait "$session" || status=$?; }
  kill -TERM -- -"$session" 2>/dev/null || true
  if [ "$status" != 0 ] && [ -n "$logs" ]; then
    rm -rf "$logs" && mkdir -p "$logs" && cp -r "$work/bus.log" "$work/logs/." "$logs/"
    echo "session.sh: the logs are in $logs" >&2
  fi
  if [ "$keep" = 1 ]; then
    echo "session.sh: the session's files are in $work" >&2
  else
    rm -rf "$work"
  fi
  exit "$status"
fi

# The bus's own chatter stays in bus.log; the rest goes where it came from.
exec 1>&4 2>&3 3>&- 4>&-

pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
  done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    # A program that ignores the polite request is ended after 5 seconds.
    for _ in $(seq 50); do kill -0 "${pids[i]}" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

logs="$E2E_WORK/logs"
mkdir -p "$logs"

# The first display of :61 to :69 that Xvfb can take.
display=
for n in $(seq 61 69); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$logs/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$xvfb" 2>/dev/null && [ -S "/tmp/.X11-unix/X$n" ]; then
    pids+=("$xvfb")
    display=":$n"
    break
  fi
  wait "$xvfb" 2>/dev/null || true
done
if [ -z "$display" ]; then
  echo "session.sh: no free X display among :61 to :69" >&2
  exit 1
fi
export DISPLAY=$display

openbox --sm-disable >"$logs/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

if [ "$E2E_ORCA" = 1 ]; then
  # Orca in a preferences folder of its own: its stock settings, a log that
  # can be read while it grows, and no wait on a speech server that has no
  # sound device to speak to.
  prefs="$E2E_WORK/orca"
  mkdir -p "$prefs"
  cp "$here/orca-customizations.py" "$prefs/"
  export ORCA_LOG="$logs/orca.log"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  orca -u "$prefs" --debug-file "$ORCA_LOG" >"$logs/orca.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do
    grep -q 'listeners\|setLocusOfFocus' "$ORCA_LOG" 2>/dev/null && break
    sleep 0.1
  done
fi

"$@" &
pids+=($!)
status=0
wait $! || status=$?
exit "$status"
