"""Every shipped skin in the running meter with live figures: the window takes
the picture's size, exactly the labels that look.ini shows are visible, at
their places, with their texts filled in by the ticks, and each label's box
on the screen has the colour that look.ini gives it (so it matches the
picture beneath). Screenshots of each skin go to /tmp/shots for a person to
look at."""
import os
import struct
import subprocess
import threading
import unittest

import vtcbench as vb

vb.enter_namespace()

SHOTS = os.environ.get("VTC_SHOTS", "/tmp/shots")
BASE = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Denstr": "руб.", "Statistic": "5",
        "Left": "240", "Top": "260", "Visible": "1", "StayOnTop": "1"}
ALL_DAYS = {str(d): "1" for d in range(1, 8)}
TARIFF = [("Повременный", dict(ALL_DAYS, st="0", et="2359", costt="0.6"))]


wait_for = vb.wait_for

def shipped_skins():
    look = os.path.join(vb.BUILD, "dist", "Look")
    return sorted(d for d in os.listdir(look) if os.path.isdir(os.path.join(look, d)) and "." not in d)


def bmp_size(path):
    with open(path, "rb") as f:
        head = f.read(26)
    w, h = struct.unpack("<ii", head[18:26])
    return w, abs(h)


def look_labels(path):
    """{number: {suffix: value}} of the labels that look.ini shows."""
    keys = {}
    section = None
    with open(path, "rb") as f:
        for raw in f.read().decode("cp1251").splitlines():
            line = raw.strip()
            if line.startswith("["):
                section = line.strip("[]").lower()
            elif "=" in line and section == "options" and line.lower().startswith("label"):
                k, v = line.split("=", 1)
                name, _, suffix = k.partition("_")
                keys.setdefault(int(name[5:]), {})[suffix.lower()] = v
    return {n: k for n, k in keys.items() if int(k.get("visible", "0") or 0)}


def pixel(png, x, y):
    out = subprocess.run(["convert", png, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                         capture_output=True, text=True).stdout
    # "0,0: (r,g,b)  #RRGGBB  srgb(...)"
    tag = [t for t in out.split() if t.startswith("#") and len(t) == 7][0]
    return int(tag[1:3], 16), int(tag[3:5], 16), int(tag[5:7], 16)


def colour(value):
    v = int(value)
    return v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF


def live(windows):
    """Every shown label has a figure, and a shown speed is not zero."""
    shown = [t for t in windows if t["visible"] and 101 <= t["id"] <= 112]
    return bool(shown) and all(t["text"] != "?" for t in shown) and all(
        t["text"] != "0b/s" for t in shown if t["id"] in (104, 105))


class ShippedSkins(unittest.TestCase):
    def test_every_shipped_skin_shows_its_labels_with_live_figures(self):
        skins = shipped_skins()
        self.assertIn("Default", skins)
        self.assertGreaterEqual(len(skins), 2)
        for skin in skins:
            with self.subTest(skin=skin):
                self.check_skin(skin)

    def check_skin(self, skin):
        folder = os.path.join(vb.BUILD, "dist", "Look", skin)
        width, height = bmp_size(os.path.join(folder, "main.bmp"))
        labels = look_labels(os.path.join(folder, "look.ini"))
        with vb.Program(options=dict(BASE, Look=skin), tarif=TARIFF) as p:
            # Running totals from earlier sessions, so the total labels show real figures.
            p.reg_set_sz(vb.TOTALS_KEY, "InTall", "734003200")
            p.reg_set_sz(vb.TOTALS_KEY, "OutTall", "52428800")
            p.reg_set_sz(vb.TOTALS_KEY, "denall", "152.4")
            p.reg_set_dword(vb.TOTALS_KEY, "timeall", 98765)
            p.start_meter()
            # Steady traffic while the screenshot is taken, so the speeds are not 0.
            sender = threading.Thread(target=vb.send_loopback, args=(6 << 20,), kwargs={"rate": 700 << 10})
            sender.start()
            try:
                shown = wait_for(lambda: live(p.window_texts(vb.TITLE)), 25)
                self.assertTrue(shown, "labels never filled: %r" % p.window_texts(vb.TITLE))
                shot = p.screenshot(os.path.join(SHOTS, "i7_skin_%s.png" % skin))
                left, top, right, bottom = p.window_rect(vb.TITLE)
                subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                                "+repage", "-scale", "200%", os.path.join(SHOTS, "i7_skin_%s_x2.png" % skin)])
                texts = {t["id"] - 100: t for t in p.window_texts(vb.TITLE) if 101 <= t["id"] <= 112}
            finally:
                sender.join()
        self.assertEqual((right - left, bottom - top), (width, height))
        self.assertEqual(sorted(n for n, t in texts.items() if t["visible"]), sorted(labels))
        for n, keys in labels.items():
            t = texts[n]
            x, y = t["x"] - left, t["y"] - top
            self.assertEqual((x, y, t["w"], t["h"]),
                             (int(keys["left"]), int(keys["top"]), int(keys["width"]), int(keys["height"])),
                             "Label%d of %s" % (n, skin))
            self.assertNotEqual(t["text"], "?", "Label%d of %s" % (n, skin))
            # The box's corner shows the label's own colour, which is the picture's there.
            self.assertEqual(pixel(shot, t["x"], t["y"]), colour(keys["color"]), "Label%d of %s" % (n, skin))
        print("%s: %dx%d, labels %s" % (skin, width, height,
                                        ", ".join("%d=%s" % (n, texts[n]["text"]) for n in sorted(labels))))


if __name__ == "__main__":
    unittest.main()
