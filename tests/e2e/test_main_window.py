"""The two top-level windows seen as one, and the exit question."""
import time
import unittest

from harness import (ProgramTestCase, answer_message_box, click, find_message_box, message_box_texts, wait_for,
                     x_windows)

EDITOR_CLASS = "TandrelEditorWindow"
WM_CLOSE = 0x0010


class MainWindowTest(ProgramTestCase):
    def editor(self):
        return wait_for(lambda: self.tool.find(EDITOR_CLASS, "*"), what="EditorWindow")

    def test_starts_at_design_place_with_title(self):
        self.assertEqual(self.tool.rect(self.main), (50, 50, 680, 440))
        self.assertEqual(self.tool.text(self.main), "Tandrel录音整理工具6.2")
        self.assertTrue(x_windows("^Tandrel录音整理工具6.2$"), "the X window carries the title")
        left, top, _, _ = self.tool.rect(self.editor())
        self.assertEqual((left, top), (60, 170))

    def test_editor_follows_moves_and_resizes(self):
        editor = self.editor()
        self.tool.ask("move", self.main, 200, 150)
        wait_for(lambda: self.tool.rect(editor)[:2] == (210, 270), 5, what="the editor to follow the move")

        self.tool.ask("size", self.main, 800, 600)
        wait_for(lambda: self.tool.rect(editor) == (210, 270, 780, 470), 5, what="the editor to follow the resize")
        rich = self.tool.child(editor, "RichEdit20A")
        self.assertIsNotNone(rich)
        self.assertEqual(self.tool.rect(rich)[2:], (770, 460))

    def exit_question(self):
        self.tool.ask("post", self.main, WM_CLOSE, 0, 0)
        return find_message_box(self.tool, "退出")

    def test_no_keeps_running_and_yes_ends(self):
        box = self.exit_question()
        self.assertIn("确认退出吗？", message_box_texts(self.tool, box))
        answer_message_box(self.tool, box, "no")
        time.sleep(0.5)
        self.assertTrue(self.program.running())
        self.assertTrue(self.tool.exists(self.main))

        # The frame's own close button asks the same question.
        left, top, width, _ = self.tool.rect(self.main)
        click(left + width - 28, top + 15)
        answer_message_box(self.tool, find_message_box(self.tool, "退出"), "yes")
        self.assertTrue(self.program.wait_exit(10), "Yes ends the process")


if __name__ == "__main__":
    unittest.main()
