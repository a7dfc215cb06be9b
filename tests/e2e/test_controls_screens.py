"""Each control as it appears on the screen, in its states, checked by pixel probes."""
import os
import subprocess
import tempfile
import time
import unittest

from harness import BUILD, WINE, WinTool, pixel, screenshot, wait_for, xdotool

LEFT, TOP = 100, 100


class ControlsScreenTest(unittest.TestCase):
    def setUp(self):
        self.tool = WinTool()
        self.dir = tempfile.mkdtemp(prefix="tandrel-controls-")
        exe = os.path.join(BUILD, "testtools", "controls_demo.exe")
        self.proc = subprocess.Popen([WINE, exe, "controls"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        self.hwnd = wait_for(lambda: self.tool.find("Ex_DirectUI", "控件演示"), 30, what="the demo window")
        xdotool("mousemove", 5, 1000)
        time.sleep(1.0)

    def tearDown(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(10)
        self.tool.close()

    def shot(self, name):
        png = screenshot(os.path.join(self.dir, name + ".png"))
        return lambda x, y: pixel(png, LEFT + x, TOP + y)

    def test_controls_in_their_resting_states(self):
        at = self.shot("controls")
        # Image buttons: the red normal picture; the disabled one keeps its green picture.
        self.assertEqual(at(42, 72), (230, 20, 20))
        self.assertEqual(at(102, 72), (20, 200, 40))
        # Label with a white-to-black gradient inside a red frame.
        r, g, b = at(409, 65)
        self.assertTrue(r > 200 and g < 60 and b < 60, (r, g, b))
        self.assertGreater(sum(at(300, 52)), sum(at(300, 77)) + 200)
        # Buttons: the focused one has a blue lower half; the normal one is grey-white; the
        # disabled one is darker than both.
        r, g, b = at(120, 140)
        self.assertGreater(b, r + 15, f"focused button {(r, g, b)}")
        r, g, b = at(30, 140)
        self.assertLess(abs(b - r), 30, f"normal button {(r, g, b)}")
        self.assertLess(sum(at(235, 123)), sum(at(55, 123)) - 60)
        # Slider at 50 with the second bar at 75: the track spans x 27 .. 413 (the thumb is 14).
        start, middle = at(60, 190), at(190, 190)
        self.assertGreater(start[2], start[0] + 60, f"bar start is blue {start}")
        # The gradient belongs to the track: towards its middle the blue gives way to green.
        self.assertGreater(middle[1], start[1] + 20, (start, middle))
        self.assertLess(middle[2], start[2] - 20, (start, middle))
        self.assertGreater(sum(at(300, 190)), sum(at(380, 190)) + 30, "second bar lighter than bare track")
        self.assertGreater(min(at(220, 186)), 180, "the thumb at 50 %")
        # Progress bar at 30: a bar, then the dark track; no thumb.
        r, g, b = at(60, 230)
        self.assertGreater(b, r + 60, (r, g, b))
        self.assertLess(sum(at(300, 230)), 200)
        # Picture box: the blue picture inside a white frame.
        self.assertEqual(at(480, 80), (20, 40, 230))
        self.assertGreater(min(at(450, 80)), 240)

    def test_image_button_hover_and_press(self):
        xdotool("mousemove", LEFT + 42, TOP + 72)
        time.sleep(0.6)
        self.assertEqual(self.shot("hover")(42, 72), (20, 200, 40))
        xdotool("mousedown", 1)
        time.sleep(0.6)
        self.assertEqual(self.shot("pressed")(42, 72), (20, 40, 230))
        xdotool("mouseup", 1)


if __name__ == "__main__":
    unittest.main()
