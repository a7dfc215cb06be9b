"""The transcript as a typist uses it: time markers and separators while a recording plays,
saving and opening through the real dialogs, and the question before changes are thrown away."""
import atexit
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import (ProgramTestCase, answer_message_box, click, find_message_box, key, message_box_texts,
                     type_text, unix_to_wine, wait_for)

MEDIA = tempfile.mkdtemp(prefix="tandrel-media-")
atexit.register(shutil.rmtree, MEDIA, True)
TONE = os.path.join(MEDIA, "tone.wav")


def tone():
    """A 90 s tone of 16 MB, made the first time a test plays it."""
    if not os.path.exists(TONE):
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", "-b", "16", TONE, "synth", "90", "sine", "440"],
                       check=True)
    return TONE

CURRENT_ID, STATUS_ID, PLAYER_LINE_ID = 2001, 2003, 2004
SEPARATOR = "\r\n" + "━" * 28 + "\r\n\r\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


class EditorCase(ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.window = wait_for(lambda: self.tool.find("TandrelEditorWindow", "*"), 10, what="the editor window")
        wait_for(lambda: self.rich, 10, what="the transcript")

    @property
    def rich(self):
        # Opening a document puts a new control in the old one's place: ask each time.
        return self.tool.child(self.window, "RichEdit20A")

    def label(self, control_id):
        return self.tool.text(self.tool.ask("dlgitem", self.main, control_id))

    def text(self):
        return self.tool.text(self.rich).replace("\r\n", "\r")

    def focus_editor(self):
        left, top, width, height = self.tool.rect(self.rich)
        click(left + width - 20, top + height - 20)
        time.sleep(0.3)

    def dialog(self, title, path):
        box = wait_for(lambda: self.tool.find("#32770", title), 15, what=f"the dialog {title}")
        time.sleep(0.5)
        type_text(unix_to_wine(path))
        key("Return")
        wait_for(lambda: not self.tool.exists(box), 10, what="the dialog to close")

    def save_as(self, path):
        key("ctrl+shift+s")
        self.dialog("另存为", path)

    def notice(self, text):
        seen = set()
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            seen.add(self.label(STATUS_ID))
            if text in seen:
                return
            time.sleep(0.05)
        self.fail(f"no notice {text!r}; the line showed {sorted(seen)!r}")


class MarkerAndTextSaveTest(EditorCase):
    def test_marker_separator_and_text_file(self):
        key("alt+o")
        self.dialog("选择要打开的音频文件", tone())
        wait_for(lambda: re.fullmatch(r"\d\d:\d\d", self.label(CURRENT_ID) or "") and self.label(CURRENT_ID) >= "00:02",
                 10, what="playback to pass 2 s")
        self.focus_editor()
        type_text("abc")
        wait_for(lambda: self.text() == "abc", 5, what="the typed text")
        before = self.label(CURRENT_ID)
        key("ctrl+m")
        after = self.label(CURRENT_ID)
        marker = wait_for(lambda: re.fullmatch(r"abc(【\d\d:\d\d】)", self.text()), 5, what="the marker").group(1)
        self.assertIn(marker[1:-1], {before, after})

        # The clipboard keeps the marker: pasting again stamps it a second time.
        key("ctrl+v")
        wait_for(lambda: self.text() == "abc" + marker * 2, 5, what="the pasted marker")

        key("ctrl+l")
        wait_for(lambda: self.text() == "abc" + marker * 2 + SEPARATOR.replace("\r\n", "\r"), 5,
                 what="the separator")
        expected = ("abc" + marker * 2 + SEPARATOR).encode("gbk")
        self.assertEqual(len(SEPARATOR), 34)

        # (a name starting with n or r would meet the harness unescaping \\n and \\r inside paths)
        path = os.path.join(self.program.dir, "memo.TXT")
        self.save_as(path)
        self.notice("保存成功! " + unix_to_wine(path))
        wait_for(lambda: read(path) == expected, 5, what="the GBK bytes")

        # Saved and unchanged: Ctrl+S has nothing to do.
        key("ctrl+s")
        self.notice("提示：文档还未做任何修改，无法保存！")


class RtfAndPromptTest(EditorCase):
    def ask(self):
        box = find_message_box(self.tool, "询问")
        self.assertIn("文件已经被修改，是否保存？", message_box_texts(self.tool, box))
        return box

    def test_rtf_round_trip_and_save_prompt(self):
        # New right after start asks nothing.
        key("ctrl+n")
        time.sleep(0.5)
        self.assertIsNone(self.tool.find("*", "询问"))

        self.focus_editor()
        type_text("hello world")
        wait_for(lambda: self.text() == "hello world", 5, what="the typed text")
        path = os.path.join(self.program.dir, "talk.rtf")
        self.save_as(path)
        self.notice("保存成功! " + unix_to_wine(path))
        data = wait_for(lambda: read(path).startswith(b"{\\rtf") and read(path), 5, what="the RTF file")
        self.assertTrue(data.endswith(b"}"), data[-20:])

        key("ctrl+n")  # saved: nothing to ask
        wait_for(lambda: self.text() == "", 5, what="an empty document")
        key("ctrl+o")
        self.dialog("请输入欲打开文档的文件名:", path)
        wait_for(lambda: self.text() == "hello world", 5, what="the text read back")
        self.notice("打开成功! " + unix_to_wine(path))

        # Esc (and Cancel, the same answer) keeps everything; No throws the change away.
        self.focus_editor()
        type_text("!")
        key("ctrl+n")
        answer_message_box(self.tool, self.ask(), "esc")
        self.assertEqual(self.text(), "hello world!")
        key("ctrl+o")
        answer_message_box(self.tool, self.ask(), "cancel", by="mouse")
        time.sleep(0.5)
        self.assertIsNone(self.tool.find("#32770", "请输入欲打开文档的文件名:"), "Cancel stops the Open")
        self.assertEqual(self.text(), "hello world!")
        self.focus_editor()  # the mouse left the X focus with the box that went
        key("ctrl+s")  # still titled and modified: saves to talk.rtf without a dialog
        self.notice("保存成功! " + unix_to_wine(path))
        self.focus_editor()
        type_text("?")
        key("ctrl+n")
        answer_message_box(self.tool, self.ask(), "no")
        wait_for(lambda: self.text() == "", 5, what="the change thrown away")

        # Yes on an untitled document asks for a name; cancelling that stops the New.
        self.focus_editor()
        type_text("draft")
        key("ctrl+n")
        answer_message_box(self.tool, self.ask(), "yes")
        box = wait_for(lambda: self.tool.find("#32770", "另存为"), 15, what="the save dialog")
        time.sleep(0.5)
        key("Escape")
        wait_for(lambda: not self.tool.exists(box), 10, what="the dialog to close")
        time.sleep(0.3)
        self.assertEqual(self.text(), "draft")
        key("ctrl+n")
        answer_message_box(self.tool, self.ask(), "yes")
        draft = os.path.join(self.program.dir, "draft")
        self.dialog("另存为", draft + ".rtf")
        wait_for(lambda: self.text() == "", 5, what="the New after saving")
        self.notice("保存成功! " + unix_to_wine(draft + ".rtf"))
        self.assertTrue(read(draft + ".rtf").startswith(b"{\\rtf"))
        self.assertEqual(read(path)[:5], b"{\\rtf")


class HeldFileTest(EditorCase):
    def test_file_held_by_another_program(self):
        path = os.path.join(self.program.dir, "held.rtf")
        with open(path, "wb") as f:
            f.write(b"{\\rtf1 old}")
        self.focus_editor()
        type_text("new text")
        self.assertEqual(self.tool.ask("hold", unix_to_wine(path)), "ok")
        try:
            self.save_as(path)
            box = find_message_box(self.tool, "错误")
            texts = [t.replace("\\\\", "\\") for t in message_box_texts(self.tool, box)]
            self.assertIn("保存" + unix_to_wine(path) + "失败！\r\n可能该文件已被打开。", texts)
            answer_message_box(self.tool, box, "ok")
        finally:
            self.tool.ask("release")
        self.assertEqual(read(path), b"{\\rtf1 old}")
        # Still modified and untitled: Ctrl+S asks for a name again.
        key("ctrl+s")
        self.dialog("另存为", path)
        self.notice("保存成功! " + unix_to_wine(path))
        self.assertIn(b"new text", read(path))


if __name__ == "__main__":
    unittest.main()
