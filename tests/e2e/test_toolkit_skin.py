"""Toolkit host windows as they appear on the screen: picture skin, theme colour, layered."""
import os
import subprocess
import tempfile
import time
import unittest

from harness import BUILD, WINE, WinTool, pixel, screenshot, wait_for

LEFT, TOP, WIDTH, HEIGHT = 100, 100, 680, 440


def close_to(actual, expected, tolerance=6):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


class SkinTest(unittest.TestCase):
    def setUp(self):
        self.tool = WinTool()
        self.dir = tempfile.mkdtemp(prefix="tandrel-skin-")
        self.proc = None

    def tearDown(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(10)
        self.tool.close()

    def show(self, mode, animation=None):
        exe = os.path.join(BUILD, "testtools", "toolkit_demo.exe")
        self.proc = subprocess.Popen([WINE, exe, mode] + ([animation] if animation else []), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        hwnd = wait_for(lambda: self.tool.find("Ex_DirectUI", "工具包演示 " + mode), 30, what="the demo window")
        self.assertEqual(self.tool.rect(hwnd), (LEFT, TOP, WIDTH, HEIGHT))
        self.hwnd = hwnd
        time.sleep(1.0)
        shot = screenshot(os.path.join(self.dir, mode + ".png"))
        self.shot = shot
        return lambda x, y: pixel(shot, LEFT + x, TOP + y)

    def bright_pixels_in_title(self, at, dark):
        # The title sits at (33, 11), 17 high; count glyph pixels of the expected colour.
        hits = 0
        for y in range(12, 27, 2):
            for x in range(34, 120, 2):
                r, g, b = at(x, y)
                if (dark and r + g + b < 150) or (not dark and min(r, g, b) > 200):
                    hits += 1
        return hits

    def test_solid_theme_colour(self):
        at = self.show("colour")
        green = (40, 139, 60)
        self.assertTrue(close_to(at(340, 200), green), at(340, 200))
        # The region is rounded and inset by the margin: outside it is the bare screen.
        self.assertEqual(at(2, 200), (0, 0, 0))
        self.assertEqual(at(5, 5), (0, 0, 0))
        # The frame: a dark line on the region's edge, inside it the theme colour.
        self.assertLess(sum(at(5, 200)), sum(green) - 30)
        self.assertTrue(close_to(at(20, 200), green), at(20, 200))
        # White title on the dark skin; the grey close button at the top right.
        self.assertGreater(self.bright_pixels_in_title(at, dark=False), 3)
        self.assertTrue(close_to(at(WIDTH - 5 - 3 - 39 + 4, 10), (138, 138, 138), 12), at(WIDTH - 43, 10))
        # The controls: a red box and a blue box.
        self.assertTrue(close_to(at(80, 320), (224, 32, 32)), at(80, 320))
        self.assertTrue(close_to(at(240, 320), (32, 64, 224)), at(240, 320))

    def test_picture_skin(self):
        at = self.show("picture")
        self.assertTrue(close_to(at(20, 30), (200, 220, 255), 12), at(20, 30))
        # Beyond the picture the theme colour, read from the picture at 85 %.
        self.assertTrue(close_to(at(400, 250), (20, 90, 40)), at(400, 250))
        # The picture's lower band fades into that colour.
        self.assertTrue(close_to(at(40, 5 + 119), (20, 90, 40), 12), at(40, 124))
        self.assertEqual(at(1, 1), (0, 0, 0))
        # Black title on the light sky.
        self.assertGreater(self.bright_pixels_in_title(at, dark=True), 3)

    def test_layered_at_half_alpha(self):
        at = self.show("layered")
        # Blue 0xA05020 at alpha 127 over the black screen gives half of it.
        half = (16, 40, 80)
        self.assertTrue(close_to(at(340, 200), half, 4), at(340, 200))
        self.assertTrue(close_to(at(14, 200), half, 6), at(14, 200))
        # Rounded corners and the shadow margin are see-through.
        self.assertEqual(at(5, 5), (0, 0, 0))
        self.assertEqual(at(2, 200), (0, 0, 0))
        # The controls keep their own opaque colours.
        self.assertTrue(close_to(at(80, 320), (224, 32, 32), 8), at(80, 320))

    def test_close_fades_out(self):
        at = self.show("colour", "close")
        green = (40, 139, 60)
        self.assertTrue(close_to(at(340, 200), green), at(340, 200))
        self.tool.ask("post", self.hwnd, 0x10, 0, 0)  # WM_CLOSE
        # Grab the screen as fast as it goes while the window fades; read the frames after.
        frames, attempts = [], 0
        deadline = time.time() + 10
        while self.proc.poll() is None and time.time() < deadline:
            path = os.path.join(self.dir, "close%03d.xwd" % attempts)
            attempts += 1
            # A grab that meets a window being changed or destroyed fails; the next one serves.
            if subprocess.run(["xwd", "-root", "-silent", "-out", path], stderr=subprocess.DEVNULL).returncode == 0:
                frames.append(path)
        self.assertIsNotNone(self.proc.poll(), "the demo did not end after its close")
        levels = []
        for path in frames:
            png = path[:-4] + ".png"
            subprocess.run(["convert", "xwd:" + path, png], check=True)
            levels.append(pixel(png, LEFT + 340, TOP + 200))
            # Whole-screen grabs are large; keep none of them.
            os.remove(path)
            os.remove(png)
        # Part of the way the window is fainter than itself but not gone: a fade, not a cut.
        between = [c for c in levels if 8 < c[1] < green[1] - 12]
        self.assertTrue(between, levels)
        # Once closed nothing of it is left on the screen.
        final = pixel(screenshot(os.path.join(self.dir, "closed.png")), LEFT + 340, TOP + 200)
        self.assertEqual(final, (0, 0, 0))

    def test_show_fades_in_to_the_full_picture(self):
        at = self.show("layered", "show")
        # The fade ends at the window's own alpha, as the plain layered window shows it.
        self.assertTrue(close_to(at(340, 200), (16, 40, 80), 4), at(340, 200))
        self.assertTrue(close_to(at(80, 320), (224, 32, 32), 8), at(80, 320))


if __name__ == "__main__":
    unittest.main()
