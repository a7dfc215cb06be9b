#!/usr/bin/env bash
# Figures of our bass.dll, side by side in one run: decode throughput of a 60-minute
# 128 kbit/s MP3 against sox, open time of a 2-hour MP3, resident memory while playing it,
# and play-to-audible latency on the null sink. Prints figures; asserts nothing.
# Usage: tests/bench/audio_bench.sh   (after scripts/build.sh x86_64)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$root/build/x86_64
media=${BENCH_MEDIA:-$root/build/bench-media}
mkdir -p "$media"

if [ ! -f "$media/hour.mp3" ]; then
  echo "making a 60-minute 128 kbit/s MP3 (once)..."
  sox -n -r 44100 -c 2 -C 128 "$media/hour.mp3" synth 3600 sine 440 sine 660 tremolo 2 40
fi
# Two hours: the hour twice over; MP3 frames simply follow each other.
[ -f "$media/twohours.mp3" ] || cat "$media/hour.mp3" "$media/hour.mp3" > "$media/twohours.mp3"

source scripts/services.sh
trap stop_services EXIT
start_pulse
init_wineprefix

wine_path() { echo "Z:$(readlink -f "$1" | tr / '\\')"; }
dll=$(wine_path "$build/program/plugins/bass.dll")
bench="$WINE64 $build/testtools/audiobench.exe $dll"

echo "== decode, 60 min at 128 kbit/s"
echo "ours: $($bench decode "$(wine_path "$media/hour.mp3")" | tr -d '\r')"
start=$(date +%s.%N)
sox "$media/hour.mp3" -t raw -r 44100 -b 16 -e signed -c 2 /dev/null
echo "sox:  decode $(echo "$(date +%s.%N) - $start" | bc) s"
echo "== open, 2 hours (length known at open)"
for _ in 1 2 3; do $bench open "$(wine_path "$media/twohours.mp3")" | tr -d '\r'; done
echo "== memory while playing the 2-hour file"
$bench play "$(wine_path "$media/twohours.mp3")" | tr -d '\r'
echo "== play to audible"
TANDREL_BUILD=$build PYTHONDONTWRITEBYTECODE=1 python3 - <<'PY'
import os, sys, time, statistics
sys.path.insert(0, os.path.join(os.getcwd(), "tests", "e2e"))
from test_audiolib_sound import FineRecorder, Player, read_monitor, MEDIA, RATE
from harness import unix_to_wine
import tempfile
player = Player()
player.ask("open", unix_to_wine(os.path.join(MEDIA, "tone.wav")))
delays = []
with tempfile.TemporaryDirectory() as tmp:
    for k in range(5):
        rec = FineRecorder(os.path.join(tmp, "r%d.wav" % k))
        with rec:
            time.sleep(0.3)
            asked = time.monotonic()
            player.ask("play", 1)
            time.sleep(0.5)
            player.ask("stop")
            time.sleep(0.2)
            stopped = time.monotonic()
        samples = read_monitor(rec.path)
        start = stopped - len(samples) / RATE
        onset = next(i for i, v in enumerate(samples) if abs(v) > 2000) / RATE + start
        delays.append((onset - asked) * 1000)
player.close()
print("latency ms: " + " ".join("%.0f" % d for d in delays) + " (median %.0f)" % statistics.median(delays))
PY
