"""The Graph skin in the running meter: its box shows only its background
before any traffic, and while a download runs over the loopback the incoming
colour fills the box's right end (the newest seconds) while its left end,
seconds from before the meter started, stays background. Screenshots go to
/tmp/shots for a person to look at."""
import os
import subprocess
import threading
import unittest

import vtcbench as vb

vb.enter_namespace()

SHOTS = os.environ.get("VTC_SHOTS", "/tmp/shots")
OPTIONS = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Denstr": "руб.", "Look": "Graph",
           "Left": "240", "Top": "260", "Visible": "1", "StayOnTop": "1"}
TARIFF = [("Повременный", dict({str(d): "1" for d in range(1, 8)}, st="0", et="2359", costt="0.6"))]


def graph_keys():
    with open(os.path.join(vb.BUILD, "dist", "Look", "Graph", "look.ini"), "rb") as f:
        sections = dict(vb.parse_ini(f.read()))
    return {k.lower()[len("graph_"):]: int(v) for k, v in sections["Options"] if k.lower().startswith("graph_")}


def colour(value):
    return value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF


def box_pixels(png, x, y, w, h):
    """Rows of (r, g, b) of the screenshot's box."""
    ppm = subprocess.run(["convert", png, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-depth", "8",
                          "ppm:-"], capture_output=True, check=True).stdout
    # "P6\nW H\n255\n" then the pixels
    data = ppm.split(b"\n", 3)[3]
    px = [tuple(data[i:i + 3]) for i in range(0, w * h * 3, 3)]
    return [px[r * w:(r + 1) * w] for r in range(h)]


def colours_in(rows, first_col, last_col):
    return {p for row in rows for p in row[first_col:last_col]}


class GraphSkin(unittest.TestCase):
    def test_download_fills_the_right_end_and_the_left_stays_background(self):
        g = graph_keys()
        self.assertEqual(g["visible"], 1)
        back, incoming, outgoing = colour(g["color"]), colour(g["in_color"]), colour(g["out_color"])
        w, h = g["width"], g["height"]
        with vb.Program(options=OPTIONS, tarif=TARIFF) as p:
            p.start_meter()
            self.assertTrue(p.wait_ticks(2))
            left, top, _, _ = p.window_rect(vb.TITLE)
            box = (left + g["left"], top + g["top"], w, h)

            idle = box_pixels(p.settled_screenshot(os.path.join(SHOTS, "graph_idle.png")), *box)
            self.assertFalse({incoming, outgoing} & colours_in(idle, 0, w), "traffic drawn before any was sent")

            sender = threading.Thread(target=vb.send_loopback, args=(8 << 20,), kwargs={"rate": 600 << 10})
            sender.start()
            try:
                shot = os.path.join(SHOTS, "graph_download.png")
                # The newest second spans the box's rightmost columns.
                right_end = lambda: incoming in colours_in(box_pixels(p.screenshot(shot), *box), w - 4, w)
                self.assertTrue(vb.wait_for(right_end, 20), "the download never reached the graph")
                rows = box_pixels(shot, *box)
            finally:
                sender.join()
            subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (340, 120, left, top), "+repage",
                            "-scale", "200%", os.path.join(SHOTS, "graph_download_x2.png")])
        # The first sixth of a minute's box is long before the meter started.
        self.assertEqual(rows[h - 1][0], back)
        self.assertFalse({incoming, outgoing} & colours_in(rows, 0, w // 6))
        self.assertEqual(rows[h - 1][w - 1], incoming)


if __name__ == "__main__":
    unittest.main()
