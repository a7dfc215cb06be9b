"""Files a typist should never open, opened anyway through the real dialog: noise named .rtf
and a 50 MB text file. The program keeps answering, the editor stays usable, and the big
file saved again is byte for byte what was opened."""
import os
import random
import time
import unittest

from harness import answer_message_box, find_message_box, key, type_text, wait_for
from test_editor_document import EditorCase, read

WM_NULL, WM_GETTEXTLENGTH, EM_GETOPTIONS, ECO_READONLY = 0x0000, 0x000E, 0x044E, 0x0800


class BadInputTest(EditorCase):
    def send(self, msg, wp=0, lp=0):
        answer = self.tool.ask("send", self.rich, msg, wp, lp)
        self.assertFalse(answer.startswith("error"), f"the editor did not answer: {answer}")
        return int(answer)

    def test_noise_named_rtf_then_fifty_megabytes_of_text(self):
        noise = os.path.join(self.program.dir, "noise.rtf")
        with open(noise, "wb") as f:
            f.write(random.Random(7).randbytes(256 * 1024))
        key("ctrl+o")
        self.dialog("请输入欲打开文档的文件名:", noise)
        time.sleep(1)
        self.focus_editor()
        key("ctrl+End")
        type_text("still here")
        wait_for(lambda: self.text().endswith("still here"), 10, what="typing after the noise")

        line = "老师说到这里，我们来看下一个问题，这一行是转写的正文。\r\n".encode("gbk")
        data = line * (50 * 1024 * 1024 // len(line) + 1)
        big = os.path.join(self.program.dir, "big.txt")
        with open(big, "wb") as f:
            f.write(data)
        before = self.rich
        key("ctrl+o")
        answer_message_box(self.tool, find_message_box(self.tool, "询问"), "no")
        self.dialog("请输入欲打开文档的文件名:", big)

        # The first text is on screen at once (in a new control) and the rest follows while
        # the program answers.
        wait_for(lambda: self.rich not in (None, before), 10, what="the document to open")
        self.assertGreater(self.send(WM_GETTEXTLENGTH), 0)
        self.assertTrue(self.send(EM_GETOPTIONS) & ECO_READONLY, "read-only while the rest comes in")
        slowest = 0.0
        for _ in range(10):
            started = time.monotonic()
            self.send(WM_NULL)
            slowest = max(slowest, time.monotonic() - started)
            time.sleep(0.2)
        self.assertLess(slowest, 2.0, "the program stopped answering while loading")
        self.assertTrue(self.send(EM_GETOPTIONS) & ECO_READONLY, "still loading after two seconds")

        # Saving takes everything in first: the file written is the file opened.
        copy = os.path.join(self.program.dir, "copy.txt")
        self.save_as(copy)
        wait_for(lambda: os.path.exists(copy) and os.path.getsize(copy) == len(data), 240,
                 what="the 50 MB copy", interval=1)
        self.assertTrue(read(copy) == data, "the saved copy differs from the file opened")
        self.assertFalse(self.send(EM_GETOPTIONS) & ECO_READONLY, "editable once loaded")


if __name__ == "__main__":
    unittest.main()
