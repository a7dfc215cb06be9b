#!/usr/bin/env bash
# Figures of the transcript editor (see editor_bench.cpp); run through tests/bench/run.sh.
set -euo pipefail
"$WINE64" "$TANDREL_BUILD/bench/editor_bench.exe" "$@"
