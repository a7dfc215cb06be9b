# Sourced by the run and test scripts: starts the display, the sound server and a Wine
# prefix for this run, and stops exactly what it started.
# Sets DISPLAY, PULSE_SINK, XDG_RUNTIME_DIR, WINEPREFIX, WINEDEBUG, LC_ALL for the children.

# A run directory of our own (display log, sound server socket, Wine prefix of ~700 MB) is
# removed again when the services stop; one that the caller named is left to the caller.
if [ -z "${RUN_DIR:-}" ]; then
  RUN_DIR=$(mktemp -d /tmp/tandrel-run.XXXXXX)
  OWN_RUN_DIR=1
fi
STARTED_PIDS=()
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
export WINE64=/usr/lib/wine/wine64

die() { echo "error: $*" >&2; exit 1; }

free_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || { echo "$n"; return; }
  done
  return 1
}

start_xvfb() {
  local n
  n=$(free_display) || die "no free X display number between :90 and :140"
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$RUN_DIR/xvfb.log" 2>&1 &
  STARTED_PIDS+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    kill -0 "${STARTED_PIDS[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  cat "$RUN_DIR/xvfb.log" >&2
  die "Xvfb did not start on :$n"
}

start_pulse() {
  export XDG_RUNTIME_DIR="$RUN_DIR/xdg"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export PULSE_SINK=tandrel_sink
  # Not -D: we keep the pid ourselves so that exactly this daemon is stopped.
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false \
    --load="module-null-sink sink_name=$PULSE_SINK" --load=module-native-protocol-unix \
    >"$RUN_DIR/pulse.log" 2>&1 &
  STARTED_PIDS+=($!)
  for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && { pactl set-default-sink "$PULSE_SINK" >/dev/null 2>&1; return 0; }
    kill -0 "${STARTED_PIDS[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  cat "$RUN_DIR/pulse.log" >&2
  die "PulseAudio did not start"
}

init_wineprefix() {
  export WINEPREFIX="$RUN_DIR/wineprefix"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # A persistent server keeps every later start of a program in this prefix fast.
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wineserver -p || die "wineserver did not start"
  "$WINE64" wineboot -i >"$RUN_DIR/wineboot.log" 2>&1 || { cat "$RUN_DIR/wineboot.log" >&2; die "wineboot failed"; }
  [ "$("$WINE64" cmd /c echo ok 2>/dev/null | tr -d '\r')" = ok ] || die "Wine does not run programs in $WINEPREFIX"
}

stop_services() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
  fi
  local pid
  for pid in "${STARTED_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${STARTED_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  STARTED_PIDS=()
  if [ "${OWN_RUN_DIR:-0}" = 1 ]; then rm -rf "$RUN_DIR"; fi
}
