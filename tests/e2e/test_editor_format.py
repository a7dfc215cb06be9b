"""Formatting as a typist does it: the format panel that pops up over a selection or on a right
click, its bar, swatches and lists, the date and time picker, and the preset hot keys. What
each step did is read from the RTF the program saves."""
import datetime
import os
import re
import time
import unittest

from harness import click, key, type_text, wait_for
from test_editor_document import EditorCase, read

PANEL_ID, BAR_ID, SIZE_LIST_ID, FIRST_SWATCH = 1100, 1200, 1203, 1230
PICKER_ID, PICKER_LIST_ID = 1300, 1301
TB_ISBUTTONENABLED, TB_ISBUTTONCHECKED, TB_GETBUTTONSIZE = 0x409, 0x40A, 0x43A
CB_GETCURSEL, CB_GETLBTEXTLEN = 0x147, 0x149
BOLD, COPY, PASTE = 1210, 1218, 1219


def rtf_text(rtf):
    """The visible words of a saved RTF, control words and groups of tables left out."""
    return re.sub(r"\\[a-z]+-?\d* ?|[{}]", "", rtf)


class FormatPanelTest(EditorCase):
    def panel(self):
        return self.tool.ask("dlgitem", self.window, PANEL_ID)

    def visible(self, hwnd):
        return self.tool.ask("visible", hwnd) == "1"

    def saved_rtf(self, name):
        path = os.path.join(self.program.dir, name)
        self.save_as(path)
        return wait_for(lambda: read(path).endswith(b"}") and read(path), 10, what="the RTF file").decode("latin-1")

    def click_bar_button(self, index):
        bar = self.tool.ask("dlgitem", self.panel(), BAR_ID)
        size = int(self.tool.ask("send", bar, TB_GETBUTTONSIZE, 0, 0))
        width, height = size & 0xFFFF, size >> 16
        left, top, _, _ = self.tool.rect(bar)
        click(left + width * index + width // 2, top + height // 2)

    def test_panel_bar_swatches_and_presets(self):
        self.assertFalse(self.visible(self.panel()), "the panel starts hidden")
        self.focus_editor()
        type_text("one two")
        wait_for(lambda: self.text() == "one two", 5, what="the typed text")

        # A selection pops the panel up; its bar knows a selection can be copied.
        key("ctrl+a")
        wait_for(lambda: self.visible(self.panel()), 5, what="the panel over the selection")
        bar = self.tool.ask("dlgitem", self.panel(), BAR_ID)
        self.assertNotEqual(self.tool.ask("send", bar, TB_ISBUTTONENABLED, COPY, 0), "0")
        self.assertEqual(self.tool.ask("send", bar, TB_ISBUTTONCHECKED, BOLD, 0), "0")
        size_list = self.tool.ask("dlgitem", self.panel(), SIZE_LIST_ID)
        self.assertEqual(self.tool.text(size_list), "15")

        # Bold from the bar, then the blue swatch: the panel goes, the selection is both.
        self.click_bar_button(0)
        wait_for(lambda: self.tool.ask("send", bar, TB_ISBUTTONCHECKED, BOLD, 0) != "0", 5,
                 what="the bold button pressed")
        swatch = self.tool.ask("dlgitem", self.panel(), FIRST_SWATCH + 8)
        left, top, width, height = self.tool.rect(swatch)
        click(left + width // 2, top + height // 2)
        wait_for(lambda: not self.visible(self.panel()), 5, what="the panel to hide after a swatch")

        # Alt+Up makes it 16 points; Alt+1 (red by default) and Alt+Q (黑体) go to the
        # caret's end: type a word there and format it.
        key("alt+Up")
        key("End")
        type_text(" three")
        wait_for(lambda: self.text() == "one two three", 5, what="the third word")
        key("shift+ctrl+Left")
        key("alt+1")
        key("alt+q")
        key("alt+3")  # the third colour preset is empty: nothing happens
        time.sleep(0.5)
        rtf = self.saved_rtf("format.rtf")
        self.assertIn("\\red0\\green0\\blue255;", rtf)
        self.assertIn("\\red255\\green0\\blue0;", rtf)
        self.assertIn("\\b", rtf)
        self.assertIn("\\fs32", rtf)
        self.assertIn("\\'ba\\'da\\'cc\\'e5", rtf)  # 黑体 in the font table, GBK
        self.assertIn("one two", rtf_text(rtf))

        # A right click near the bottom-right corner opens the panel above and to the left of
        # the pointer; a left click hides it again.
        left, top, width, height = self.tool.rect(self.rich)
        x, y = left + width - 12, top + height - 12
        click(x, y, button=3)
        wait_for(lambda: self.visible(self.panel()), 5, what="the panel on a right click")
        pl, pt, pw, ph = self.tool.rect(self.panel())
        self.assertLessEqual(abs(pl + pw - x), 3, (pl, pw, x))
        self.assertLessEqual(abs(pt + ph - y), 3, (pt, ph, y))
        click(left + 20, top + 20)
        wait_for(lambda: not self.visible(self.panel()), 5, what="the panel to hide on a left click")

    def test_date_picker_inserts_the_start_date(self):
        started = datetime.date.today()
        self.focus_editor()
        key("ctrl+t")
        picker = self.tool.ask("dlgitem", self.window, PICKER_ID)
        wait_for(lambda: self.visible(picker), 5, what="the date picker")
        listbox = self.tool.ask("dlgitem", picker, PICKER_LIST_ID)
        wait_for(lambda: self.tool.focused(self.window) == listbox, 5, what="the focus on the list")
        self.assertEqual(self.tool.ask("send", listbox, 0x188, 0, 0), "0")  # LB_GETCURSEL: the first entry
        key("Return")
        wait_for(lambda: not self.visible(picker), 5, what="the picker to hide")
        today = f"{started.year}-{started.month}-{started.day}"
        wait_for(lambda: self.text() == today, 5, what=f"the date {today}")

        # Cancel inserts nothing.
        key("ctrl+t")
        wait_for(lambda: self.visible(picker), 5, what="the date picker again")
        cancel = self.tool.ask("dlgitem", picker, 1303)
        left, top, width, height = self.tool.rect(cancel)
        click(left + width // 2, top + height // 2)
        wait_for(lambda: not self.visible(picker), 5, what="the picker to hide on Cancel")
        self.assertEqual(self.text(), today)


if __name__ == "__main__":
    unittest.main()
