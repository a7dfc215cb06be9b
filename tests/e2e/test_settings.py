"""data.xml at start: written with the defaults when missing or bad, kept when it is sound."""
import os
import stat
import time
import unittest

from harness import MAIN_TITLE, Program, WinTool, wait_for

DEFAULT_FILE = "\r\n".join([
    '<?xml version="1.0" encoding="gb18030"?>',
    "<QVN_LY>",
    "\t<Tab>真</Tab>",
    "\t<Shift>真</Shift>",
    "\t<UI_Color>4016474</UI_Color>",
    "\t<UI_Touming>100</UI_Touming>",
    "\t<Color>",
    "\t\t<Color1>255</Color1>",
    "\t\t<Color2>0</Color2>",
    "\t\t<Color3/>",
    "\t\t<Color4/>",
    "\t\t<Color5/>",
    "\t\t<Color6/>",
    "\t</Color>",
    "\t<Font>",
    "\t\t<Font1>黑体</Font1>",
    "\t\t<Font2>宋体</Font2>",
    "\t\t<Font3/>",
    "\t\t<Font4/>",
    "\t\t<Font5/>",
    "\t</Font>",
    "</QVN_LY>",
]).encode("gbk")

SCALARS = "<Tab>假</Tab><Shift>假</Shift><UI_Color>255</UI_Color><UI_Touming>50</UI_Touming>"
COLOURS = "<Color><Color1/><Color2/><Color3/><Color4/><Color5/><Color6/></Color>"
FONTS = "<Font><Font1>楷体</Font1><Font2/><Font3/><Font4/><Font5/></Font>"


def settings_file(children, root="QVN_LY"):
    return f'<?xml version="1.0" encoding="gb18030"?>\r\n<{root}>{children}</{root}>'.encode("gbk")


class SettingsAtStartTest(unittest.TestCase):
    def setUp(self):
        self.tool = WinTool()
        self.program = None

    def tearDown(self):
        if self.program:
            self.program.stop()
        self.tool.close()

    def start(self, files=None, prepare=None):
        """Starts the program with these files beside it and waits for its main window."""
        if self.program:
            self.program.stop()
        self.program = Program(files)
        if prepare:
            prepare(self.program)
        self.program.start()
        wait_for(lambda: self.tool.find("*", MAIN_TITLE), 30, what="the main window")
        return self.program

    def test_fresh_start_writes_the_default_file(self):
        program = self.start()
        self.assertEqual(program.read("data.xml"), DEFAULT_FILE)
        self.assertFalse(os.path.exists(program.path("data.xml.new")))

    def test_bad_files_are_replaced_at_start(self):
        garbage = bytes((i * 2654435761 >> 13) & 0xFF for i in range(50000))
        big = settings_file(SCALARS + COLOURS + FONTS + "<Extra>" + "x" * 10_000_000 + "</Extra>")
        cases = {
            "seventh root child": settings_file(SCALARS + COLOURS + FONTS + "<Tab>真</Tab>"),
            "missing Color6": settings_file(SCALARS + COLOURS.replace("<Color6/>", "") + FONTS),
            "binary garbage": garbage,
            "10 MB file": big,
            "deeply nested": b"<QVN_LY>" * 500000,
        }
        for what, data in cases.items():
            with self.subTest(what):
                program = self.start({"data.xml": data})
                self.assertEqual(program.read("data.xml"), DEFAULT_FILE)

    def test_a_sound_file_in_another_order_is_kept(self):
        data = settings_file(FONTS + COLOURS + "<UI_Touming>50</UI_Touming><UI_Color>255</UI_Color>"
                             "<Shift>假</Shift><Tab>1</Tab>")
        program = self.start({"data.xml": data})
        time.sleep(1)
        self.assertEqual(program.read("data.xml"), data)

    def test_a_read_only_bad_file_is_left_alone_and_the_program_runs(self):
        def make_read_only(program):
            os.chmod(program.path("data.xml"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)

        program = self.start({"data.xml": b"not xml"}, make_read_only)
        time.sleep(1)
        self.assertTrue(program.running())
        self.assertEqual(program.read("data.xml"), b"not xml")
        self.assertFalse(os.path.exists(program.path("data.xml.new")))
        # no message about the file: our two windows are all there is
        classes = sorted(row[2] for row in self.tool.top_windows() if len(row) >= 3)
        self.assertEqual(classes, ["TandrelEditorWindow", "TandrelMainWindow"])


if __name__ == "__main__":
    unittest.main()
