"""End-to-end harness: runs the real program under Wine on the test display.

The test command (scripts/test.sh) starts Xvfb, PulseAudio and the Wine prefix and exports
DISPLAY, WINEPREFIX, PULSE_SINK and friends; this module only uses them.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

WINE = "/usr/lib/wine/wine64"
CONVERT = "/usr/bin/convert"  # ImageMagick's own, whatever else is on PATH
BUILD = os.environ.get("TANDREL_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "x86_64"))
MAIN_TITLE = "Tandrel录音整理工具6.2"


def wait_for(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Polls predicate until it returns something truthy; fails the test after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def unix_to_wine(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unescape(text):
    """Undoes wintool's escapes of backslash, CR and LF in one pass."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), text)


class WinTool:
    """The helper that looks at windows from inside Wine (tests/e2e/wintool.cpp)."""

    def __init__(self):
        exe = os.path.join(BUILD, "testtools", "wintool.exe")
        self.proc = subprocess.Popen([WINE, exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, encoding="utf-8",
                                     start_new_session=True)

    def ask(self, *words):
        self.proc.stdin.write(" ".join(str(w) for w in words) + "\n")
        self.proc.stdin.flush()
        answer = self.proc.stdout.readline()
        if not answer:
            raise RuntimeError("wintool ended")
        return answer.rstrip("\r\n")

    def find(self, cls="*", title="*"):
        h = self.ask("find", cls, title)
        return None if h == "0" else h

    def rect(self, hwnd):
        return tuple(int(v) for v in self.ask("rect", hwnd).split())

    def client(self, hwnd):
        return tuple(int(v) for v in self.ask("client", hwnd).split())

    def child(self, hwnd, cls):
        h = self.ask("child", hwnd, cls)
        return None if h == "0" else h

    def text(self, hwnd):
        return unescape(self.ask("text", hwnd))

    def child_texts(self, hwnd):
        return [unescape(t) for t in self.ask("texts", hwnd).split("\t")]

    def focused(self, hwnd):
        """The window with the keyboard focus in the thread that owns hwnd."""
        return self.ask("focused", hwnd)

    def exists(self, hwnd):
        return not self.ask("visible", hwnd).startswith("error")

    def top_windows(self):
        rows = [r for r in self.ask("list").split("\t") if r]
        return [tuple(r.split(" ", 3)) for r in rows]

    def close(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        self.proc.stdout.close()


class Program:
    """One run of the program from a fresh program directory of its own."""

    def __init__(self, files=None):
        self.dir = tempfile.mkdtemp(prefix="tandrel-prog-")
        src = os.path.join(BUILD, "program")
        for name in os.listdir(src):
            s = os.path.join(src, name)
            (shutil.copytree if os.path.isdir(s) else shutil.copy2)(s, os.path.join(self.dir, name))
        for name, data in (files or {}).items():
            with open(os.path.join(self.dir, name), "wb") as f:
                f.write(data)
        self.proc = None
        self.log = None

    def path(self, name):
        return os.path.join(self.dir, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def start(self):
        self.log = open(self.path("wine.log"), "wb")
        self.started_at = time.monotonic()
        self.proc = subprocess.Popen([WINE, "Tandrel.exe"], cwd=self.dir, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True)
        return self

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=10):
        try:
            self.proc.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        if self.running():
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait(10)
        if self.log:
            self.log.close()
            self.log = None
        shutil.rmtree(self.dir, ignore_errors=True)


# X side: keys, clicks, screenshots

def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=20).stdout.strip()


def x_windows(title_regex):
    out = xdotool("search", "--onlyvisible", "--name", title_regex)
    return [w for w in out.split() if w]


def key(*keys, window=None):
    args = ["key", "--delay", "40"]
    if window:
        args += ["--window", window]
    xdotool(*args, *keys)


def focus_x_window(title_regex):
    """Gives the X keyboard focus to the window with that title. Wine hands keys, hot keys
    included, only to a program one of whose windows has the focus."""
    windows = wait_for(lambda: x_windows(title_regex), 10, what=f"X window {title_regex}")
    xdotool("windowfocus", "--sync", windows[0])
    return windows[0]


def type_text(text):
    xdotool("type", "--delay", "20", text)


def click(x, y, button=1):
    xdotool("mousemove", x, y, "click", button)


def screenshot(path):
    xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True, timeout=20).stdout
    subprocess.run([CONVERT, "xwd:-", path], input=xwd, check=True, timeout=30)
    return path


def screenshot_stacked(path):
    """Like screenshot, but with every unmanaged (override-redirect) top-level window pasted from
    its own contents. Without a window manager Wine stacks such windows, EditorWindow among
    them, below the main window's X window, so the plain screenshot shows them black."""
    screenshot(path)
    tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True, timeout=20).stdout
    for line in tree.splitlines():
        m = re.match(r"\s+(0x[0-9a-f]+) .*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s", line)
        if not m:
            continue
        wid, w, h, x, y = m.group(1), *map(int, m.groups()[1:])
        info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True, timeout=20).stdout
        if "IsViewable" not in info or "Override Redirect State: yes" not in info or w < 2 or h < 2:
            continue
        xwd = subprocess.run(["xwd", "-id", wid, "-silent"], capture_output=True, timeout=20)
        if xwd.returncode != 0:
            continue
        part = path + ".part.png"
        subprocess.run([CONVERT, "xwd:-", part], input=xwd.stdout, check=True, timeout=30)
        subprocess.run([CONVERT, path, part, "-geometry", f"+{x}+{y}", "-composite", path], check=True, timeout=30)
        os.remove(part)
    return path


def pixel(png, x, y):
    """(r, g, b) of one pixel of a screenshot."""
    out = subprocess.run([CONVERT, png, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)] %[fx:int(255*p{{{x},{y}}}.g)] "
                          f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:"], capture_output=True, text=True, check=True).stdout
    return tuple(int(v) for v in out.split())


# Sound: what reached the null sink

class Recorder:
    """Records the null sink's monitor into a WAV file while in a with-block."""

    def __init__(self, path):
        self.path = path

    def __enter__(self):
        sink = os.environ.get("PULSE_SINK", "tandrel_sink")
        self.proc = subprocess.Popen(["parec", "-d", sink + ".monitor", "--file-format=wav", self.path],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Only once samples arrive is the recording live; on a loaded machine that takes a while.
        wait_for(lambda: os.path.exists(self.path) and os.path.getsize(self.path) > 44 + 8820, 10,
                 what="the recorder to start")
        return self

    def __exit__(self, *exc):
        self.proc.send_signal(signal.SIGINT)
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def dominant_frequency(wav, start=None, length=None):
    """Peak frequency above 50 Hz of the first channel, by sox's stat -freq."""
    args = ["sox", wav, "-n"]
    if start is not None:
        args += ["trim", str(start)] + ([str(length)] if length is not None else [])
    args += ["remix", "1", "stat", "-freq"]
    out = subprocess.run(args, capture_output=True, text=True, timeout=60).stderr
    best = (0.0, 0.0)
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 2 and re.fullmatch(r"[0-9.]+", parts[0]):
            f, level = float(parts[0]), float(parts[1])
            if f > 50 and level > best[1]:
                best = (f, level)
    return best[0]


def rms_level(wav, start=None, length=None):
    args = ["sox", wav, "-n"]
    if start is not None:
        args += ["trim", str(start)] + ([str(length)] if length is not None else [])
    args += ["stat"]
    out = subprocess.run(args, capture_output=True, text=True, timeout=60).stderr
    m = re.search(r"RMS\s+amplitude:\s+([0-9.]+)", out)
    return float(m.group(1)) if m else 0.0


# Questions the program asks (ShowMessageBox)

def find_message_box(tool, title, timeout=10):
    """The open message box with that title."""
    return wait_for(lambda: tool.find("Ex_DirectUI", title), timeout, what=f"the message box {title!r}")


# The box draws its text and buttons itself; hidden children mirror them: id 100 holds the
# text, 101, 102, 103 the buttons at positions 1, 2, 3 (right to left), placed where they are.
_BOX_TEXT_ID = 100
_BOX_BUTTON_IDS = (101, 102, 103)
_ANSWER_CAPTIONS = {"ok": "确认", "cancel": "取消", "abort": "放弃", "retry": "重试", "ignore": "忽略",
                    "yes": "是", "no": "否"}


def _box_buttons(tool, box):
    """Captions of the box's buttons by position: position 1 (the rightmost) first."""
    captions = []
    for item_id in _BOX_BUTTON_IDS:
        item = tool.ask("dlgitem", box, item_id)
        if item == "0":
            break
        captions.append(tool.text(item))
    return captions


def message_box_texts(tool, box):
    """Every text the box shows, its own title first, then the message, then the buttons
    from left to right."""
    texts = [tool.text(box)]
    item = tool.ask("dlgitem", box, _BOX_TEXT_ID)
    if item != "0":
        texts.append(tool.text(item))
    return texts + list(reversed(_box_buttons(tool, box)))


def answer_message_box(tool, box, answer, by="keyboard"):
    """Answers like a user: answer is "yes", "no", "ok", "retry", "ignore", "abort", "cancel"
    or "esc" (the Esc key, also by mouse). By keyboard the focus starts on the rightmost button
    and Tab moves it left; Enter clicks. By mouse the button is clicked where it is drawn.
    Waits until the box has gone."""
    title = tool.text(box)
    focus_x_window("^" + re.escape(title) + "$")
    if answer == "esc":
        key("Escape")
    else:
        buttons = _box_buttons(tool, box)
        caption = _ANSWER_CAPTIONS[answer]
        if caption not in buttons:
            raise AssertionError(f"the box has no {caption!r} button: {buttons}")
        position = buttons.index(caption)
        if by == "mouse":
            left, top, width, height = tool.rect(tool.ask("dlgitem", box, _BOX_BUTTON_IDS[position]))
            click(left + width // 2, top + height // 2)
        else:
            key(*(["Tab"] * position), "Return")
    wait_for(lambda: not tool.exists(box), 5, what="the message box to close")


class ProgramTestCase(unittest.TestCase):
    """Starts a program per test and always ends it; self.tool looks at its windows."""

    files = None

    def setUp(self):
        self.tool = WinTool()
        self.program = Program(self.files).start()
        self.main = wait_for(lambda: self.tool.find("*", MAIN_TITLE), 30, what="the main window")
        focus_x_window("^" + re.escape(MAIN_TITLE) + "$")

    def tearDown(self):
        self.program.stop()
        self.tool.close()
