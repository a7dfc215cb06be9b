"""The toolkit message box: the exit question over MainWindow, and a three-button question
over a skinned toolkit owner, answered by mouse and by keyboard."""
import os
import subprocess
import tempfile
import time
import unittest

from harness import (BUILD, WINE, ProgramTestCase, WinTool, answer_message_box, find_message_box,
                     message_box_texts, pixel, screenshot, wait_for)

WM_CLOSE = 0x0010
SCREEN_W, SCREEN_H = 1280, 1024


def ask_exit(test):
    test.tool.ask("post", test.main, WM_CLOSE, 0, 0)
    return find_message_box(test.tool, "退出")


class ExitQuestionTest(ProgramTestCase):
    def test_box_over_main_window_no_by_mouse_yes_by_keyboard(self):
        box = ask_exit(self)
        # Centred on the screen at its start size: the text fits.
        self.assertEqual(self.tool.rect(box), ((SCREEN_W - 320) // 2, (SCREEN_H - 150) // 2, 320, 150))
        self.assertEqual(message_box_texts(self.tool, box), ["退出", "确认退出吗？", "是", "否"])
        self.assertEqual(self.tool.ask("enabled", self.main), "0", "the owner takes no input meanwhile")

        time.sleep(0.8)  # the box fades in
        shot = screenshot(os.path.join(tempfile.mkdtemp(prefix="tandrel-box-"), "exit.png"))
        left, top, _, _ = self.tool.rect(box)
        r, g, b = pixel(shot, left + 30 + 8, top + 40 + 20)
        self.assertGreater(b, r + 60, f"the blue question picture at (30, 40): {(r, g, b)}")
        r, g, b = pixel(shot, left + 150, top + 75)
        self.assertGreater(min(r, g, b), 150, f"the white body behind the text: {(r, g, b)}")

        answer_message_box(self.tool, box, "no", by="mouse")
        time.sleep(0.5)
        self.assertTrue(self.program.running())
        self.assertEqual(self.tool.ask("enabled", self.main), "1")

        answer_message_box(self.tool, ask_exit(self), "yes")
        self.assertTrue(self.program.wait_exit(10), "Yes ends the process")

    def test_no_by_keyboard_esc_then_yes_by_mouse(self):
        for answer in ("no", "esc"):
            answer_message_box(self.tool, ask_exit(self), answer)
            time.sleep(0.3)
            self.assertTrue(self.program.running(), answer)
        answer_message_box(self.tool, ask_exit(self), "yes", by="mouse")
        self.assertTrue(self.program.wait_exit(10), "Yes ends the process")


class SaveQuestionTest(unittest.TestCase):
    """Yes / No / Cancel with the question picture, over a green toolkit owner."""

    def setUp(self):
        self.tool = WinTool()
        self.proc = None

    def tearDown(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(10)
        self.tool.close()

    def ask(self):
        exe = os.path.join(BUILD, "testtools", "controls_demo.exe")
        self.proc = subprocess.Popen([WINE, exe, "box", "3", "32"], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        return find_message_box(self.tool, "演示提问", 30)

    def test_answers_give_their_codes(self):
        cases = [("yes", "keyboard", 5), ("no", "mouse", 6), ("cancel", "keyboard", 1), ("cancel", "mouse", 1),
                 ("esc", "keyboard", 1), ("yes", "mouse", 5)]
        for answer, by, code in cases:
            with self.subTest(answer=answer, by=by):
                box = self.ask()
                self.assertEqual(message_box_texts(self.tool, box)[2:], ["是", "否", "取消"])
                answer_message_box(self.tool, box, answer, by=by)
                self.assertEqual(self.proc.wait(10), code)

    def test_takes_over_the_owners_colour(self):
        box = self.ask()
        time.sleep(0.8)
        shot = screenshot(os.path.join(tempfile.mkdtemp(prefix="tandrel-box-"), "save.png"))
        left, top, width, _ = self.tool.rect(box)
        # Near the top edge the white veil is thinnest: the owner's green shows.
        r, g, b = pixel(shot, left + width // 2, top + 7)
        self.assertGreater(g, b + 20, f"green theme taken over: {(r, g, b)}")
        self.assertGreater(g, r + 20, f"green theme taken over: {(r, g, b)}")
        answer_message_box(self.tool, box, "esc")
        self.assertEqual(self.proc.wait(10), 1)


if __name__ == "__main__":
    unittest.main()
