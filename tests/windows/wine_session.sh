# A Wine session for the Windows tests, sourced by scripts/test-windows and
# scripts/package-windows: a virtual X display (Windows programs need one to
# make windows), a new Wine prefix for the run and one long-lived wineserver
# (without it every program pays a cold start of some 4 s).
#
#   wine_session_start DIR   # the prefix and logs go in DIR, made anew
#   ...                      # DISPLAY, WINEPREFIX and the rest are exported
#   wine_session_locale L    # every program from now on in locale L
#   wine_session_end         # stops the server and the display, removes DIR

wine_session_start() {
  WINE_SESSION_DIR=$1
  rm -rf "$WINE_SESSION_DIR"
  mkdir -p "$WINE_SESSION_DIR"
  WINE_SESSION_DIR=$(realpath "$WINE_SESSION_DIR")

  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WINE_SESSION_DIR/display" \
    >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
  WINE_SESSION_XVFB=$!
  for _ in $(seq 100); do
    [ -s "$WINE_SESSION_DIR/display" ] && break
    sleep 0.1
  done
  [ -s "$WINE_SESSION_DIR/display" ] || { echo "Xvfb did not start:" >&2; cat "$WINE_SESSION_DIR/xvfb.log" >&2; return 1; }
  export DISPLAY=":$(tr -d '\n' <"$WINE_SESSION_DIR/display")"

  export WINEPREFIX=$WINE_SESSION_DIR/prefix
  export WINEDEBUG=-all
  # No offers to install Mono or Gecko; and no winemenubuilder, which would
  # copy shortcuts and file types into the user's own menus
  # (~/.local/share/applications/wine, ~/.config/menus), outside the prefix.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Under a locale that is not UTF-8 Wine garbles arguments and file names
  # outside ASCII. The tests that want other settings give their own LC_ALL.
  export LC_ALL=C.UTF-8
  local started=$SECONDS
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot --init >"$WINE_SESSION_DIR/wineboot.log" 2>&1
  # Debian's Wine does not look in the folder fonts-wine fills; without its
  # Tahoma, "MS Shell Dlg" would be a wider font than Windows has.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # Wine draws the frames itself, as no window manager runs here: otherwise it
  # waits up to 2 s for one whenever it hides a window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$WINE_SESSION_DIR/wineboot.log" 2>&1
  wine cmd /c exit >>"$WINE_SESSION_DIR/wineboot.log" 2>&1
  echo "Wine prefix ready in $((SECONDS - started)) s (display $DISPLAY)"
}

# Under Wine a program takes the user's settings (the decimal separator
# among them) from the locale it is started in and writes them to the
# registry, where programs already running in another locale, the desktop
# among them, may read or rewrite them. Changing the locale of a whole
# session restarts it, so that every program agrees.
wine_session_locale() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  export LC_ALL=$1
  wineserver -p
  wine cmd /c exit >>"$WINE_SESSION_DIR/wineboot.log" 2>&1
}

wine_session_end() {
  [ -n "${WINE_SESSION_DIR:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
  rm -rf "$WINE_SESSION_DIR"
  WINE_SESSION_DIR=
}
