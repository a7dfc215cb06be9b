#!/usr/bin/env bash
# Runs one benchmark script with the same display, sound server and Wine prefix as the tests.
# Usage: tests/bench/run.sh tests/bench/startup/startup_bench.py
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build.sh x86_64 >/dev/null
source scripts/services.sh
trap stop_services EXIT
start_xvfb
start_pulse
init_wineprefix
export TANDREL_BUILD="$PWD/build/x86_64"
case "$1" in
  *.py) /usr/bin/python3 "$@" ;;
  *) bash "$@" ;;
esac
