"""Hot-key latency: from the key press to the change being audible on the sound server.

Run through tests/bench/run.sh. Opens a 440 Hz tone in the real program, then presses F4
several times, alternating pause and play, while the null sink's monitor is recorded. The press
is placed in the recording by how much had been recorded when it was sent (with a 5 ms
recording latency), so the figures are upper bounds.
"""
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from harness import (MAIN_TITLE, Program, WinTool, focus_x_window, key, type_text, unix_to_wine,  # noqa: E402
                     wait_for)

RATE = 44100
FRAME = 4  # 16-bit stereo
PRESSES = int(os.environ.get("PRESSES", "10"))
LOUD = 2000


def frames(path):
    with open(path, "rb") as f:
        data = f.read()[44:]
    return struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])[::2]


def main():
    media = tempfile.mkdtemp(prefix="tandrel-bench-")
    tone = os.path.join(media, "tone.wav")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", tone, "synth", "120", "sine", "440"], check=True)
    tool = WinTool()
    program = Program().start()
    try:
        main_window = wait_for(lambda: tool.find("*", MAIN_TITLE), 30, what="the main window")
        focus_x_window("^" + MAIN_TITLE + "$")
        key("alt+o")
        dialog = wait_for(lambda: tool.find("#32770", "选择要打开的音频文件"), 15, what="the open dialog")
        time.sleep(0.5)
        type_text(unix_to_wine(tone))
        key("Return")
        wait_for(lambda: not tool.exists(dialog), 10, what="the dialog to close")
        time.sleep(1.0)

        rec = os.path.join(media, "rec.wav")
        sink = os.environ.get("PULSE_SINK", "tandrel_sink")
        parec = subprocess.Popen(["parec", "-d", sink + ".monitor", "--latency-msec=5", "--file-format=wav", rec])
        wait_for(lambda: os.path.exists(rec) and os.path.getsize(rec) > 44 + RATE * FRAME // 5, 10, what="recording")
        presses = []
        for i in range(PRESSES):
            at = (os.path.getsize(rec) - 44) // FRAME
            key("F4")
            presses.append((at, "pause" if i % 2 == 0 else "play"))
            time.sleep(0.7)
        parec.terminate()
        parec.wait()
        samples = frames(rec)
    finally:
        program.stop()
        tool.close()
        shutil.rmtree(media, ignore_errors=True)

    pause_ms, play_ms = [], []
    for at, kind in presses:
        window = samples[at: at + RATE]
        if kind == "pause":
            # The first 20 ms run of silence after the press.
            run = 0
            for i, v in enumerate(window):
                run = run + 1 if abs(v) < 50 else 0
                if run == RATE // 50:
                    pause_ms.append((i - run + 1) * 1000 / RATE)
                    break
        else:
            onset = next((i for i, v in enumerate(window) if abs(v) > LOUD), None)
            if onset is not None:
                play_ms.append(onset * 1000 / RATE)
    print(f"hot key F4 to audible change, {PRESSES} presses (upper bounds):")
    for name, values in (("pause", pause_ms), ("play", play_ms)):
        if values:
            print(f"  {name:5s} median {statistics.median(values):6.1f} ms, max {max(values):6.1f} ms, n={len(values)}")
        else:
            print(f"  {name:5s} no change found")


if __name__ == "__main__":
    main()
