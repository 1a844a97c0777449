"""Damaged, hand-edited and hostile input in every file the two programs read.
For each: both programs come up (the meter ticks) and close when asked (no
crash, no hang); the documented default follows; and nothing stored that the
programs have no business rewriting changes.

Files of one kind of damage are tried together in one start; when such a start
fails, each file is tried on its own so that the failure names the culprit.
Registry values and the update file are in test_bad_registry.py."""
import os
import unittest

import vtcbench as vb
import robustness as rb
from robustness import QUIET

vb.enter_namespace()

BIG = rb.long_text()
GARBAGE = rb.garbage(3000)


def ini_variants(sound, section, numeric_keys, text_key):
    """Damaged forms of a sound INI text: [(label, bytes)]."""
    s = section.encode("cp1251")
    head = b"[" + s + b"]\r\n"
    cut = sound[: sound.rfind(b"=") + 2]  # ends in the middle of the last value
    nums = lambda v: b"".join(b"%s=%s\r\n" % (k.encode(), v) for k in numeric_keys)
    return [
        ("empty", b""),
        ("truncated mid-line", cut),
        ("binary garbage", GARBAGE),
        ("garbage after a sound file", sound + GARBAGE),
        ("70000-character value", head + text_key.encode() + b"=" + BIG.encode() + b"\r\n" + nums(b"1")),
        ("70000-character numbers", head + nums(BIG.encode())),
        ("lines without =", head + b"no equals sign here\r\n" + nums(b"1") + b"=\r\n=5\r\n"),
        ("duplicate sections and keys", sound + sound + head + nums(b"3") + nums(b"4")),
        ("section names with ]", b"[" + s + b"]]\r\n" + nums(b"2") + b"[a]b]\r\nx=1\r\n[]\r\n" + sound),
        ("exponents", head + nums(b"1e3") + nums(b"2.5E+2")),
        ("huge numbers", head + nums(b"99999999999999999999999")),
        ("negative numbers", head + nums(b"-2147483649") + nums(b"-1")),
        ("utf-16 with a byte-order mark", b"\xff\xfe" + sound.decode("cp1251").encode("utf-16-le")),
        ("bare CR line ends", sound.replace(b"\r\n", b"\r")),
    ]


OPTIONS = vb.ini_text([("Options", dict(QUIET, AlphaBlend="200", Left="10", Top="10", Look="Default",
                                        Denstr="руб"))]).encode("cp1251")
OPTION_KEYS = ["AlphaBlend", "Left", "Top", "Statistic", "statkol", "Dof", "AutoFind", "Visible", "StayOnTop",
               "ShowBt", "AutoUpdate", "AutoClose"]
TARIF = vb.ini_text([("День", {"st": "0800", "et": "2359", "freein": "0", "freeout": "0", "int": "0.0000001",
                               "outt": "0", "costt": "0", "1": "1", "2": "1", "3": "1", "4": "1", "5": "1",
                               "6": "1", "7": "1"})]).encode("cp1251")
TARIF_KEYS = ["st", "et", "freein", "freeout", "int", "outt", "costt", "1", "2", "3", "4", "5", "6", "7"]
STATS = vb.ini_text([("Сессия 18:00:00 05.12.2026", {"InTall": "1024", "OutTall": "2048", "Denall": "1.5",
                                                      "timeall": "01:02:05"})]).encode("cp1251")
STATS_KEYS = ["InTall", "OutTall", "Denall", "timeall"]
LOOK = vb.ini_text([("Options", {"Label1_Left": "1", "Label1_Top": "1", "Label1_Width": "50",
                                 "Label1_Height": "14", "Label1_Visible": "1", "Label1_Color": "255",
                                 "Label1_Font_Name": "Arial", "Label1_Font_Height": "-11"})]).encode("cp1251")
LOOK_KEYS = ["Label%d_%s" % (n, k) for n in (1, 2, 12) for k in
             ("Left", "Top", "Width", "Height", "Visible", "Color", "Font_Height", "Font_Color")]

SKIN_INI = "Look/Default/look.ini"
SKIN_BMP = "Look/Default/main.bmp"
ICONS = ("Look/online.ico", "Look/offline.ico")


class BadFiles(unittest.TestCase):
    def put(self, p, files):
        for name, data in files.items():
            if data is None:
                if p.read_bytes(name) is not None:
                    os.unlink(p.path(name))
            else:
                p.write_bytes(name, data)

    def attempt(self, p, label, files, keep=(), settings=True, options_kept=True):
        """Writes files, runs both programs, checks what must stay. Returns the
        failure text or None."""
        self.put(p, files)
        before = {name: p.read_bytes(name) for name in keep}
        opts = p.read_bytes("options.ini")
        try:
            rb.run_programs(p, settings=settings)
        except rb.Trouble as e:
            return "%s: %s" % (label, e)
        for name in keep:
            if p.read_bytes(name) != before[name]:
                return "%s: %s was rewritten" % (label, name)
        if options_kept and opts is not None:
            # Bytes: only the items of that sound text must stay (the platform's
            # profile writer drops garbage lines when the window state is saved).
            a = rb.ini_items(p.read_bytes("options.ini"), rb.WINDOW_STATE_KEYS)
            b = rb.ini_items(options_kept if isinstance(options_kept, bytes) else opts, rb.WINDOW_STATE_KEYS)
            if (set(b) - set(a)) if isinstance(options_kept, bytes) else a != b:
                return "%s: options.ini lost or changed items: %s" % (label, sorted(set(b) - set(a))[:5])
        return None

    def batch(self, p, label, files, sound, **kw):
        """All damaged files at once; on failure each alone, the others sound."""
        failure = self.attempt(p, label, files, **kw)
        if failure is None:
            return
        culprits = []
        for name, data in files.items():
            alone = dict(sound)
            alone[name] = data
            one = self.attempt(p, "%s in %s alone" % (label, name), alone, **kw)
            if one:
                culprits.append(one)
        self.fail(failure + (" | " + " | ".join(culprits) if culprits else " (not reproduced file by file)"))

    def test_options_ini(self):
        with vb.Program(tarif=None) as p:
            err = self.attempt(p, "options.ini missing", {"options.ini": None})
            self.assertIsNone(err)
            for label, data in ini_variants(OPTIONS, "Options", OPTION_KEYS, "Look"):
                with self.subTest(label):
                    # statistic.ini is absent: a default roll-over may write it.
                    kept = {"binary garbage": False, "garbage after a sound file": OPTIONS}.get(label, True)
                    err = self.attempt(p, "options.ini " + label, {"options.ini": data, "statistic.ini": None},
                                       options_kept=kept)
                    self.assertIsNone(err)
            # A place far off every monitor is brought back where it can be reached.
            self.put(p, {"options.ini": vb.ini_text([("Options", dict(QUIET, Left="99999999", Top="-99999999",
                                                                      Visible="1"))]).encode("cp1251")})
            rb.run_meter(p, keep_meter=True)
            try:
                left, top, _, _ = p.window_rect(vb.TITLE)
                self.assertTrue(-10 <= left < 1024 and -10 <= top < 768, (left, top))
            finally:
                rb.close_meter(p)

    def test_tariff_statistics_and_skin_files(self):
        sound = {"tarif.ini": TARIF, "statistic.ini": STATS, SKIN_INI: LOOK}
        extra = [
            ("70000-character section names", {
                "tarif.ini": b"[" + BIG.encode() + b"]\r\nst=0\r\net=2359\r\n",
                "statistic.ini": b"[" + BIG.encode() + b"]\r\nInTall=1\r\n",
                SKIN_INI: b"[" + BIG.encode() + b"]\r\nLabel1_Visible=1\r\n"}),
            ("thousands of sections", {
                "tarif.ini": b"".join(b"[t%d]\r\nst=0\r\net=2359\r\n1=1\r\n" % i for i in range(1000)),
                "statistic.ini": b"".join(b"[r%d]\r\nInTall=%d\r\nOutTall=1\r\nDenall=0\r\ntimeall=00:00:01\r\n"
                                          % (i, i) for i in range(1500)),
                SKIN_INI: b"".join(b"[s%d]\r\nx=1\r\n" % i for i in range(2000)) + LOOK}),
            ("numbers past a double", {
                "tarif.ini": b"[x]\r\nst=0\r\net=2359\r\nint=1e400\r\ncostt=1e308\r\nfreein=-1e400\r\n",
                "statistic.ini": b"[x]\r\nInTall=1e400\r\nOutTall=-1e308\r\nDenall=1e308\r\ntimeall=99999999999:99:99\r\n",
                SKIN_INI: LOOK + b"Label1_Font_Name=" + b"W" * 300 + b"\r\n"}),
        ]
        with vb.Program(options=QUIET) as p:
            err = self.attempt(p, "all missing", {n: None for n in sound})
            self.assertIsNone(err)
            tv = dict(ini_variants(TARIF, "День", TARIF_KEYS, "int"))
            sv = dict(ini_variants(STATS, "Сессия 18:00:00 05.12.2026", STATS_KEYS, "InTall"))
            lv = dict(ini_variants(LOOK, "Options", LOOK_KEYS, "Label1_Font_Name"))
            variants = [(label, {"tarif.ini": tv[label], "statistic.ini": sv[label], SKIN_INI: lv[label]})
                        for label in tv] + extra
            for label, files in variants:
                with self.subTest(label):
                    self.batch(p, label, files, sound, keep=list(files) + [SKIN_BMP])

    def test_statistics_trimmed_from_damaged_files(self):
        opts = vb.ini_text([("Options", dict(QUIET, statkol="1"))]).encode("cp1251")
        with vb.Program(options=QUIET) as p:
            p.write_bytes("options.ini", opts)
            for label, data in ini_variants(STATS, "Сессия 18:00:00 05.12.2026", STATS_KEYS, "InTall"):
                if label in ("binary garbage", "garbage after a sound file", "utf-16 with a byte-order mark"):
                    continue
                with self.subTest(label):
                    names_before = [s for s, _ in vb.parse_ini(data)]
                    err = self.attempt(p, "trim " + label, {"statistic.ini": data}, settings=False)
                    self.assertIsNone(err)
                    after = p.read_ini("statistic.ini")
                    names_after = [s for s, _ in after]
                    # At most the two newest records stay, and only records that were there.
                    self.assertLessEqual(len(names_after), 2, (label, names_after))
                    for n in names_after:
                        self.assertIn(n, names_before[-3:], label)

    def test_pictures(self):
        bitmaps = [
            ("missing", None),
            ("empty", b""),
            ("text file", b"this is not a picture\r\n" * 20),
            ("binary garbage", GARBAGE),
            ("1 x 1 pixel", rb.bmp(1, 1)),
            ("truncated rows", rb.bmp(200, 200)[:2000]),
            ("top-down rows", rb.bmp(20, -20)),
            ("header claims 100000 x 100000", rb.bmp(100000, 100000, pixels=b"\0" * 64)),
            ("header claims 0 x 0", rb.bmp(0, 0, pixels=b"")),
            ("10000 x 10000", rb.bmp(10000, 10000, bits=1)),
        ]
        icons = [
            ("missing", None),
            ("empty", b""),
            ("text file", b"ICON? no, a text file\r\n" * 10),
            ("binary garbage", GARBAGE),
            ("count 65535", rb.ico(count=65535)),
            ("size and offset past the end", rb.ico(size=0x7FFFFFF0, offset=0x7FFFFFF0)),
            ("truncated image", rb.ico(32, 32)[:120]),
            ("a bitmap instead", rb.bmp(16, 16)),
            ("1 x 1 icon", rb.ico(1, 1)),
            ("text file", b"ICON? no, a text file\r\n"),
        ]
        with vb.Program(options=dict(QUIET, Look="Default")) as p:
            sound = {SKIN_BMP: p.read_bytes(SKIN_BMP), ICONS[0]: p.read_bytes(ICONS[0]),
                     ICONS[1]: p.read_bytes(ICONS[1])}
            for (blabel, bdata), (ilabel, idata) in zip(bitmaps, icons):
                label = "main.bmp %s, icons %s" % (blabel, ilabel)
                with self.subTest(label):
                    files = {SKIN_BMP: bdata, ICONS[0]: idata, ICONS[1]: idata}
                    self.batch(p, label, files, sound, keep=list(files), settings=False)
            self.put(p, sound)
            # A skin name that is no folder, or leads out of Look: no picture, no labels, no crash.
            for look in ("Nope", BIG[:300], "..\\..\\..", "Default]x", ""):
                with self.subTest("skin folder %r" % look[:20]):
                    p.write_bytes("options.ini", vb.ini_text([("Options", dict(QUIET, Look=look))]).encode("cp1251"))
                    err = self.attempt(p, "skin folder %r" % look[:20], {}, keep=list(sound))
                    self.assertIsNone(err)


if __name__ == "__main__":
    unittest.main()
