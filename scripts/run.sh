#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (the x86_64 build under Wine).
# Without a usable display it starts one with Xvfb and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

source scripts/services.sh
trap stop_services EXIT

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  start_xvfb
  echo "run: no display here, so the program runs on a virtual one (Xvfb $DISPLAY)."
  echo "run: see it with: DISPLAY=$DISPLAY xwd -root -silent | /usr/bin/convert xwd:- shot.png"
fi
if ! pactl info >/dev/null 2>&1; then
  start_pulse
  echo "run: no sound server here, so sound goes to a silent PulseAudio sink ($PULSE_SINK)."
fi

# The Wine prefix is kept between runs; the program keeps its own files beside the exe.
export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/tandrel/wineprefix}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: preparing the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1
fi
prog=build/x86_64/program
echo "run: starting $prog/Tandrel.exe (close its window to stop)"
cd "$prog"
"$WINE64" Tandrel.exe
