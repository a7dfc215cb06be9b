"""Launch to mapped window, for the program and for a minimal Win32 program, in one run.

Run through tests/bench/run.sh, which provides the display and the Wine prefix.
Prints the median and spread of several alternating launches of each and their ratio.
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
from harness import BUILD, MAIN_TITLE, WINE, Program, x_windows  # noqa: E402

ROUNDS = int(os.environ.get("ROUNDS", "7"))


def time_to_window(cmd, cwd, title):
    start = time.monotonic()
    proc = subprocess.Popen(cmd, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        while not x_windows(title):
            if time.monotonic() - start > 30:
                raise RuntimeError(f"no window {title!r} after 30 s")
            time.sleep(0.01)
        return time.monotonic() - start
    finally:
        proc.kill()
        proc.wait()
        while x_windows(title):
            time.sleep(0.02)


def main():
    program = Program()
    minimal_dir = os.path.join(BUILD, "bench")
    ours, baseline = [], []
    try:
        # One warm-up each, so both find the prefix's DLLs in the page cache.
        time_to_window([WINE, "Tandrel.exe"], program.dir, "^" + MAIN_TITLE + "$")
        time_to_window([WINE, "minimal_window.exe"], minimal_dir, "^minimal window$")
        for _ in range(ROUNDS):
            ours.append(time_to_window([WINE, "Tandrel.exe"], program.dir, "^" + MAIN_TITLE + "$"))
            baseline.append(time_to_window([WINE, "minimal_window.exe"], minimal_dir, "^minimal window$"))
    finally:
        program.stop()
    mo, mb = statistics.median(ours), statistics.median(baseline)
    print(f"launch to mapped window, {ROUNDS} rounds, median (min..max):")
    print(f"  program        {mo * 1000:7.1f} ms ({min(ours) * 1000:.1f}..{max(ours) * 1000:.1f})")
    print(f"  minimal window {mb * 1000:7.1f} ms ({min(baseline) * 1000:.1f}..{max(baseline) * 1000:.1f})")
    print(f"  ratio          {mo / mb:7.2f}")


if __name__ == "__main__":
    main()
