"""The player driven the way a typist does: a recording opened through Alt+O, then only keys."""
import atexit
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import (MAIN_TITLE, WINE, Program, ProgramTestCase, Recorder, WinTool, click, dominant_frequency,
                     key, rms_level, type_text, unix_to_wine, wait_for)

MEDIA = tempfile.mkdtemp(prefix="tandrel-media-")
atexit.register(shutil.rmtree, MEDIA, True)
TONE = os.path.join(MEDIA, "tone.wav")
if not os.path.exists(TONE):
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", TONE, "synth", "60", "sine", "440"], check=True)

PLAYER_LINE_ID = 2004
CURRENT_ID = 2001


class PlayerCase(ProgramTestCase):
    def label(self, control_id):
        h = self.tool.ask("dlgitem", self.main, control_id)
        return self.tool.text(h)

    def player_line(self):
        return self.label(PLAYER_LINE_ID)

    def position(self):
        """Current position in seconds, from the mm:ss label."""
        m = re.fullmatch(r"(\d+):(\d\d)", self.label(CURRENT_ID))
        return int(m.group(1)) * 60 + int(m.group(2)) if m else None

    def open_recording(self, path=TONE):
        key("alt+o")
        dialog = wait_for(lambda: self.tool.find("#32770", "选择要打开的音频文件"), 15, what="the open dialog")
        time.sleep(0.5)
        type_text(unix_to_wine(path))
        key("Return")
        wait_for(lambda: not self.tool.exists(dialog), 10, what="the dialog to close")
        wait_for(lambda: self.player_line().startswith("暂停"), 10, what="playback to start")
        self.assertEqual(self.tool.text(self.main), MAIN_TITLE + "  " + os.path.basename(path))


class PlayerHotKeysTest(PlayerCase):
    def test_play_pause_seek_and_speed(self):
        self.open_recording()
        self.assertEqual(self.label(2002), "01:00")

        wav = os.path.join(self.program.dir, "pause.wav")
        with Recorder(wav):
            time.sleep(1.0)
            key("F4")
            wait_for(lambda: self.player_line().startswith("播放"), 5, what="pause")
            time.sleep(1.0)
        # Sound while playing, silence after the pause.
        self.assertGreater(rms_level(wav, 0.3, 0.6), 0.05)
        self.assertLess(rms_level(wav, 1.6, 0.5), 0.005)

        key("F4")
        wait_for(lambda: self.player_line().startswith("暂停"), 5, what="resume")
        # F6 jumps 5 s forward, F5 back.
        before = wait_for(self.position, what="a position")
        key("F6")
        wait_for(lambda: (self.position() or 0) >= before + 5, 3, what="5 s forward")
        before = self.position()
        key("F5")
        wait_for(lambda: (self.position() or 99) <= before - 4, 3, what="5 s back")

        # Speed in tenths, stopping at 1.5 and 0.6; the pitch follows the speed.
        for _ in range(7):
            key("alt+Right")
        wait_for(lambda: "速度 1.5" in self.player_line(), 5, what="speed 1.5")
        wav = os.path.join(self.program.dir, "fast.wav")
        with Recorder(wav):
            time.sleep(1.5)
        self.assertAlmostEqual(dominant_frequency(wav, 0.5, 0.8), 660, delta=8)
        for _ in range(12):
            key("alt+Left")
        wait_for(lambda: "速度 0.6" in self.player_line(), 5, what="speed 0.6")


class KeysAndActivationTest(PlayerCase):
    def test_tab_plays_and_pauses_when_on(self):
        self.open_recording()
        key("Tab")
        wait_for(lambda: self.player_line().startswith("播放"), 5, what="Tab to pause")
        key("Tab")
        wait_for(lambda: self.player_line().startswith("暂停"), 5, what="Tab to resume")

    def other_program(self):
        """Notepad of the same Wine prefix: Wine's hot keys reach only its own programs."""
        proc = subprocess.Popen([WINE, "notepad.exe"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(proc.kill)
        return proc

    def test_leaving_from_the_editor_keeps_the_keys_and_from_the_main_window_releases_them(self):
        self.open_recording()
        self.other_program()
        # Out of the way, so that clicks on the program's windows reach them.
        notepad = wait_for(lambda: self.tool.find("Notepad", "*"), 15, what="notepad")
        self.tool.ask("move", notepad, 700, 600)
        editor = self.tool.find("TandrelEditorWindow", "*")

        def click_into(window, dx=None, dy=30):
            left, top, width, height = self.tool.rect(window)
            click(left + (width // 2 if dx is None else dx), top + (height // 2 if dy is None else dy))

        # From the editor to notepad: F4 still drives the player.
        click_into(editor, dy=None)
        wait_for(lambda: self.tool.ask("foreground") == editor, 5, what="the editor to be active")
        click_into(notepad)
        wait_for(lambda: self.tool.ask("foreground") not in (editor, self.main), 5, what="notepad active")
        key("F4")
        wait_for(lambda: self.player_line().startswith("播放"), 5, what="F4 from notepad to pause")

        # From the main window to notepad: the keys are given back.
        click_into(self.main, dx=300)
        wait_for(lambda: self.tool.ask("foreground") == self.main, 5, what="the main window to be active")
        click_into(notepad)
        wait_for(lambda: self.tool.ask("foreground") not in (editor, self.main), 5, what="notepad active")
        key("F4")
        time.sleep(0.8)
        self.assertTrue(self.player_line().startswith("播放"), "F4 after leaving the main window is notepad's")


class TabSettingOffTest(PlayerCase):
    @classmethod
    def setUpClass(cls):
        # A first start writes the default settings file; the test then turns Tab off in it.
        tool = WinTool()
        program = Program().start()
        try:
            wait_for(lambda: tool.find("*", MAIN_TITLE), 30, what="the main window")
            wait_for(lambda: os.path.exists(program.path("data.xml")), 10, what="data.xml")
            data = program.read("data.xml")
        finally:
            program.stop()
            tool.close()
        tab_on = "<Tab>真</Tab>".encode("gbk")
        assert tab_on in data, data
        cls.files = {"data.xml": data.replace(tab_on, "<Tab>假</Tab>".encode("gbk"))}

    def test_tab_does_nothing(self):
        self.open_recording()
        key("Tab")
        time.sleep(0.8)
        self.assertTrue(self.player_line().startswith("暂停"), "Tab with its setting off leaves playback on")
        key("F4")
        wait_for(lambda: self.player_line().startswith("播放"), 5, what="F4 still pauses")


if __name__ == "__main__":
    unittest.main()
