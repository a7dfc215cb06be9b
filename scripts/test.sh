#!/usr/bin/env bash
# Runs every test: installs what is missing, builds all three trees, starts a display,
# a sound server and a Wine prefix of its own, runs CTest over the native and the
# x86_64 trees, and stops what it started. The last lines are CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh
bash scripts/build.sh

source scripts/services.sh
trap stop_services EXIT
start_xvfb
start_pulse
init_wineprefix
echo "test: display $DISPLAY, sink $PULSE_SINK, prefix $WINEPREFIX"

# One CTest run over both trees gives one summary.
cat > build/CTestTestfile.cmake <<CTEST
subdirs("$root/build/native" "$root/build/x86_64")
CTEST
cd build
ctest --output-on-failure --timeout 600 -j2 "$@"
