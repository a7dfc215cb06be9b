"""What our bass.dll really plays: the null sink's monitor recorded while a bare player
(testtools/audioplay.exe) drives the library."""
import math
import os
import struct
import subprocess
import tempfile
import time
import unittest
import wave

from harness import BUILD, WINE, Recorder, dominant_frequency, rms_level, unix_to_wine

MEDIA = os.path.join(BUILD, "tests", "audiomedia")
RATE = 44100


def write_steps(path, freqs, seconds=1.0):
    """One tone per second, so that what is heard tells where the stream is."""
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = bytearray()
        n = int(seconds * RATE)
        for f in freqs:
            for i in range(n):
                v = int(16000 * math.sin(2 * math.pi * f * i / RATE))
                frames += struct.pack("<hh", v, v)
        w.writeframes(bytes(frames))


def read_monitor(path):
    """Channel 1 of a recording as integers; parec leaves the data size open when stopped."""
    data = open(path, "rb").read()
    at = data.find(b"data") + 8
    body = data[at:]
    count = len(body) // 4
    return [struct.unpack_from("<h", body, 4 * i)[0] for i in range(count)]


class FineRecorder(Recorder):
    """Records in small pieces: at parec's default latency the last second or two is still in
    its buffer when it is stopped, and the timing checks need the whole recording."""

    def __enter__(self):
        sink = os.environ.get("PULSE_SINK", "tandrel_sink")
        self.proc = subprocess.Popen(["parec", "-d", sink + ".monitor", "--latency-msec=10", "--file-format=wav",
                                      self.path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The first connection to the sound server can take a second: wait for samples to flow.
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if os.path.exists(self.path) and os.path.getsize(self.path) > 44 + 4 * 4410:
                break
            time.sleep(0.02)
        return self


class Player:
    def __init__(self):
        exe = os.path.join(BUILD, "testtools", "audioplay.exe")
        dll = unix_to_wine(os.path.join(BUILD, "program", "plugins", "bass.dll"))
        self.proc = subprocess.Popen([WINE, exe, dll], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, start_new_session=True)

    def ask(self, *words):
        self.proc.stdin.write(" ".join(str(w) for w in words) + "\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        if not line:
            raise RuntimeError("audioplay ended")
        return line.strip()

    def close(self):
        try:
            self.ask("quit")
        except (RuntimeError, BrokenPipeError):
            pass
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()


class AudioLibSoundTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.player = Player()
        self.assertEqual(self.player.ask("state"), "0")  # the library is up before recording

    def tearDown(self):
        self.player.close()
        self.tmp.cleanup()

    def record(self, name):
        return FineRecorder(os.path.join(self.tmp.name, name))

    def open(self, path):
        self.assertEqual(self.player.ask("open", unix_to_wine(path)), "1")

    def test_play_is_heard_at_once_and_pause_is_silence(self):
        self.open(os.path.join(MEDIA, "tone.wav"))
        rec = self.record("play.wav")
        with rec:
            time.sleep(0.3)
            asked = time.monotonic()
            self.assertEqual(self.player.ask("play"), "1")
            time.sleep(1.0)
            paused = time.monotonic()
            self.assertEqual(self.player.ask("pause"), "1")
            time.sleep(0.6)
            stopped = time.monotonic()
        samples = read_monitor(rec.path)
        start = stopped - len(samples) / RATE  # wall time of the recording's first sample
        onset = next(i for i, v in enumerate(samples) if abs(v) > 2000) / RATE + start
        # The onset is estimated from the recorder's own buffering, and the machine may be busy:
        # this only catches a play that is plainly late. tests/bench/audio_bench.sh measures it.
        self.assertLess(onset - asked, 0.300, "play heard after %.0f ms" % ((onset - asked) * 1000))
        self.assertAlmostEqual(dominant_frequency(rec.path, onset - start + 0.1, 0.5), 441, delta=3)
        quiet_from = paused - start + 0.1
        self.assertLess(rms_level(rec.path, quiet_from, 0.4), 0.005)

    def test_seek_from_2_to_7_seconds_plays_what_is_at_7(self):
        steps = os.path.join(self.tmp.name, "steps.wav")
        freqs = [300 + 100 * k for k in range(10)]
        write_steps(steps, freqs)
        self.open(steps)
        rec = self.record("seek.wav")
        with rec:
            self.player.ask("play")
            self.player.ask("seek", 2)
            time.sleep(0.5)
            self.assertEqual(self.player.ask("seek", 7), "1")
            jumped = time.monotonic()
            time.sleep(0.6)
            pos = float(self.player.ask("pos"))
            stopped = time.monotonic()
        self.assertAlmostEqual(pos, 7.6, delta=0.15)
        duration = len(read_monitor(rec.path)) / RATE
        at = duration - (stopped - jumped)
        before = dominant_frequency(rec.path, at - 0.4, 0.3)
        after = dominant_frequency(rec.path, at + 0.15, 0.35)
        self.assertAlmostEqual(before, freqs[2] * 441 / 440, delta=8)
        self.assertAlmostEqual(after, freqs[7] * 441 / 440, delta=8)

    def test_sample_rate_attribute_moves_the_pitch(self):
        self.open(os.path.join(MEDIA, "tone.mp3"))
        for rate, heard in ((39690, 396.9), (66150, 661.5), (44100, 441)):
            rec = self.record("rate%d.wav" % rate)
            with rec:
                self.assertEqual(self.player.ask("rate", rate), "1")
                self.player.ask("play", 1)
                time.sleep(0.8)
            self.assertAlmostEqual(dominant_frequency(rec.path, 0.4, 0.4), heard, delta=8, msg="rate %d" % rate)

    def test_end_of_stream_stops(self):
        self.open(os.path.join(MEDIA, "short.wav"))
        self.player.ask("play")
        time.sleep(1.0)
        self.assertEqual(self.player.ask("state"), "0")
        self.assertAlmostEqual(float(self.player.ask("pos")), 0.6, delta=0.001)
        self.player.ask("play", 1)
        self.assertEqual(self.player.ask("state"), "1")


if __name__ == "__main__":
    unittest.main()
