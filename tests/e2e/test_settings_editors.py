"""The settings program's tariff editor, interface chooser and skin chooser,
driven the way a user would: the real qmeter_cfg.exe under Wine, its files,
its window texts and the screen. Controls are found by their IDs."""
import os
import shutil
import struct
import subprocess
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

TITLE = "Настройки"
ID = vb.ids()
LBN_SELCHANGE = 1
CBN_SELCHANGE = 1
LB_SETCURSEL = 0x0186
CB_SETCURSEL = 0x014E

ETHERNET = "Соединение через локальную сеть (IEEE 802.3)"
wait_for = vb.wait_for


class Settings:
    """The running settings program; each action returns once it has been handled."""

    def __init__(self, p):
        self.p = p
        p.start_settings()
        assert p.wait_window(TITLE, timeout=60, visible=True), "the settings window did not appear"

    # -- what a user does -------------------------------------------------
    def click(self, name, wait=True):
        """wait=False when the click may answer with a message box."""
        assert self.p.click(TITLE, ID[name], wait), name

    def pick(self, name, entry):
        """Picks a list or drop-down entry as a user's click would (with its notification)."""
        listbox = self.p.control(TITLE, ID[name])["cls"] == "ListBox"
        self.p.send_control(TITLE, ID[name], LB_SETCURSEL if listbox else CB_SETCURSEL, entry)
        assert self.p.notify(TITLE, ID[name], LBN_SELCHANGE if listbox else CBN_SELCHANGE), name

    def choose(self, name, entry):
        """Selects an entry without any notification."""
        listbox = self.p.control(TITLE, ID[name])["cls"] == "ListBox"
        self.p.send_control(TITLE, ID[name], LB_SETCURSEL if listbox else CB_SETCURSEL, entry)

    def type(self, name, text):
        self.p.set_text(TITLE, ID[name], text)

    # -- what a user sees -------------------------------------------------
    def text(self, name):
        return self.p.control_text(TITLE, ID[name])

    def items(self, name):
        return self.p.items(TITLE, ID[name])

    def message(self):
        """Texts of the message box that is up, or None."""
        code, out = self.p.probe("msgbox", TITLE)
        if code != 0:
            return None
        return [line.split("\t", 4)[4] for line in out.splitlines() if line.count("\t") >= 4]

    def wait_message(self, timeout=10):
        return wait_for(self.message, timeout)

    def dismiss(self):
        self.p.probe("msgbox", TITLE, "ok")
        assert wait_for(lambda: self.p.probe("msgbox", TITLE, "gone")[0] == 0), "the message box did not go away"

    def fill(self, start, end, free_in="", price_in="", all_days=False):
        self.type("kIdStart", start)
        self.type("kIdEnd", end)
        self.type("kIdFreeIn", free_in)
        self.type("kIdPriceIn", price_in)
        if all_days:
            self.click("kIdAllDays")


def keys(p, section):
    for name, kv in p.read_ini("tarif.ini"):
        if name == section:
            return dict(kv)
    return None


class TariffEditor(unittest.TestCase):
    def test_add_save_show_and_the_start_after_end_warning(self):
        with vb.Program(options={"Look": "Default"}) as p:
            p.write_bytes("tarif.ini", b"")
            s = Settings(p)
            s.click("kIdAdd")
            s.click("kIdAdd")
            self.assertEqual(s.items("kIdTariffList"), ["Новый тариф №0", "Новый тариф №1"])
            self.assertEqual(p.read_ini("tarif.ini"),
                             [("Новый тариф №0", [("st", "0")]), ("Новый тариф №1", [("st", "0")])])

            s.pick("kIdTariffList", 0)
            self.assertEqual(s.text("kIdName"), "Новый тариф №0")
            self.assertEqual(s.text("kIdStart"), "00:00")
            s.fill("06:03", "18:00", free_in="100", price_in="1,5")
            s.click("kIdSave")
            self.assertIsNone(s.message())
            k = keys(p, "Новый тариф №0")
            self.assertEqual(k["st"], "603")
            self.assertEqual(k["et"], "1800")
            self.assertEqual(k["freein"], "104857600")
            self.assertEqual(k["int"], "0.00000143051147460938")
            self.assertEqual(s.text("kIdStart"), "")  # the editor is emptied after a save

            s.pick("kIdTariffList", 0)
            self.assertEqual((s.text("kIdStart"), s.text("kIdEnd"), s.text("kIdFreeIn"), s.text("kIdPriceIn")),
                             ("06:03", "18:00", "100", "1.5"))

            before = p.read_bytes("tarif.ini")
            s.fill("07:00", "06:00")
            s.click("kIdSave", wait=False)
            box = s.wait_message()
            self.assertIsNotNone(box, "no warning for a start after the end")
            self.assertIn("Начальный период больше конечного. Проверьте правильность ввода", box)
            s.dismiss()
            self.assertEqual(p.read_bytes("tarif.ini"), before)
            self.assertEqual(s.text("kIdStart"), "07:00")  # the editor keeps what was typed

    def test_renaming_the_first_of_three_makes_it_the_last_section(self):
        tarif = [("Дневной", {"st": "800", "et": "1959"}), ("Ночной", {"st": "2000", "et": "2359"}),
                 ("Выходной", {"st": "0", "et": "2359", "6": "1", "7": "1"})]
        with vb.Program(options={"Look": "Default"}, tarif=tarif) as p:
            s = Settings(p)
            self.assertEqual(s.items("kIdTariffList"), ["Дневной", "Ночной", "Выходной"])
            s.pick("kIdTariffList", 0)
            self.assertEqual((s.text("kIdStart"), s.text("kIdEnd")), ("08:00", "19:59"))
            s.type("kIdName", "Утренний")
            s.click("kIdSave")
            self.assertIsNone(s.message())
            self.assertEqual([name for name, _ in p.read_ini("tarif.ini")], ["Ночной", "Выходной", "Утренний"])
            self.assertEqual(keys(p, "Утренний")["st"], "800")
            self.assertEqual(s.items("kIdTariffList"), ["Утренний", "Ночной", "Выходной"])

            # A name another tariff has (letter case aside) is refused and nothing is written.
            before = p.read_bytes("tarif.ini")
            s.pick("kIdTariffList", 1)
            s.type("kIdName", "ВЫХОДНОЙ")
            s.click("kIdSave", wait=False)
            box = s.wait_message()
            self.assertIsNotNone(box, "no warning for a name that is taken")
            s.dismiss()
            self.assertEqual(p.read_bytes("tarif.ini"), before)

            # Deleting asks nothing.
            s.pick("kIdTariffList", 2)
            s.click("kIdDelete")
            self.assertIsNone(s.message())
            self.assertEqual([name for name, _ in p.read_ini("tarif.ini")], ["Ночной", "Утренний"])
            self.assertEqual(s.items("kIdTariffList"), ["Утренний", "Ночной"])

    def test_a_tariff_saved_here_is_the_one_the_meter_prices_with(self):
        # The first tariff applies on no day; the one saved here covers the whole week.
        tarif = [("Никогда", {"st": "0", "et": "2359", "int": "1"}), ("Новый тариф №0", {"st": "0"})]
        with vb.Program(options={"Look": "Default", "Interface": "lo", "AutoFind": "0"}, tarif=tarif) as p:
            s = Settings(p)
            s.pick("kIdTariffList", 1)
            s.fill("00:00", "23:59", free_in="0", price_in="1,5", all_days=True)
            s.click("kIdSave")
            self.assertEqual(keys(p, "Новый тариф №0")["7"], "1")
            p.settings.kill()
            p.settings.wait(10)

            p.start_meter()
            # Bytes sent before the first tick's baseline would never be counted.
            self.assertTrue(wait_for(lambda: p.saved_seconds() >= 1), "the meter did not tick")
            rx0, _ = vb.netdev("lo")
            in0 = p.totals()[0]
            vb.send_loopback(20 * 1048576)
            rx1, _ = vb.netdev("lo")
            self.assertTrue(wait_for(lambda: p.totals()[0] - in0 >= rx1 - rx0), "the bytes were not counted")
            p.kill_meter()
            money = p.totals()[2]
            self.assertIsNotNone(money)
            expected = (rx1 - rx0) / 1048576 * 1.5
            # Every byte of the 20 MB is priced at 1.5 per MB (plus the headers
            # and the little else that crossed loopback while the meter ran).
            self.assertGreater(money, expected * 0.98)
            self.assertLess(money, expected * 1.10 + 0.5)


class InterfaceChooser(unittest.TestCase):
    def test_find_lists_the_veth_pair_and_show_all_adds_loopback(self):
        subprocess.run(["ip", "link", "add", "name", "a", "type", "veth", "peer", "name", "b"], check=True)
        try:
            with vb.Program(options={"Look": "Default"}) as p:
                code, table = p.probe("iftable")
                self.assertEqual(code, 0)
                rows = [line.split("\t") for line in table.splitlines()]
                veth = [r[4] for r in rows if r[0] == "6"]
                everything = [r[4] for r in rows]
                self.assertEqual(sorted(veth), ["a", "b"])

                s = Settings(p)
                self.assertEqual(s.items("kIdTypeList")[2], ETHERNET)
                s.choose("kIdTypeList", 2)
                s.click("kIdFind")
                self.assertEqual(s.items("kIdFound"), veth)
                s.click("kIdFind")
                self.assertEqual(s.items("kIdFound"), veth)  # once each, however often

                s.choose("kIdTypeList", 0)
                s.click("kIdFind")
                self.assertEqual(s.items("kIdFound"), everything)
                self.assertIn("lo", s.items("kIdFound"))

                # Nothing picked: the field keeps what it has.
                s.type("kIdPrimary", "typed")
                s.click("kIdMakePrimary")
                self.assertEqual(s.text("kIdPrimary"), "typed")
                s.choose("kIdFound", everything.index("lo"))
                s.click("kIdMakeSecondary")
                self.assertEqual(s.text("kIdSecondary"), "lo")
                self.assertEqual(s.text("kIdPrimary"), "typed")
        finally:
            subprocess.run(["ip", "link", "del", "dev", "a"], check=False)


def bmp_pixels(data):
    """24-bit bottom-up BMP -> (w, h, rows of (r, g, b) top first)."""
    off, = struct.unpack_from("<I", data, 10)
    w, h = struct.unpack_from("<ii", data, 18)
    bpp, = struct.unpack_from("<H", data, 28)
    assert bpp == 24
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        base = off + (h - 1 - y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x]) for x in range(w)])
    return w, h, rows


def screen_region(x, y, w, h, shot):
    """RGB rows of a screen rectangle, from a screenshot of the root window
    that is kept as `shot`."""
    subprocess.run(["import", "-window", "root", shot], check=True)
    raw = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    return [[tuple(raw[(yy * w + xx) * 3:(yy * w + xx) * 3 + 3]) for xx in range(w)] for yy in range(h)]


def visible_windows(p):
    """(x, y, w, h) of the program's mapped X windows."""
    out = p.xdotool("search", "--onlyvisible", "--class", "qmeter_cfg")
    result = []
    for wid in out.split():
        geo = p.xdotool("getwindowgeometry", "--shell", wid)
        v = dict(line.split("=", 1) for line in geo.splitlines() if "=" in line)
        result.append((int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])))
    return result


class SkinChooser(unittest.TestCase):
    def test_skin_list_info_and_the_one_second_test_window(self):
        with vb.Program(options={"Look": "Default", "AlphaBlend": "255"}) as p:
            look = p.path("Look")
            default = os.path.join(p.tmp, "Default")
            shutil.move(os.path.join(look, "Default"), default)
            shutil.rmtree(look)
            os.makedirs(look)
            shutil.move(default, os.path.join(look, "Default"))
            for d in ("Second", "a.b"):
                os.makedirs(os.path.join(look, d))
            p.write_bytes("Look/x", b"a file, not a folder")
            p.write_bytes("Look/Second/look.ini", "[About]\r\nAuthor=Иван Петров\r\nName=Второй\r\n".encode("cp1251"))
            picture = p.read_bytes("Look/Default/main.bmp")
            bw, bh, pixels = bmp_pixels(picture)

            s = Settings(p)
            self.assertEqual(sorted(s.items("kIdSkinList")), ["Default", "Second", "x"])
            self.assertEqual(s.text("kIdSkinList"), "Default")  # the stored skin, selected while loading
            frame = ("kIdAuthor", "kIdSkinName")
            self.assertEqual([s.text(i) for i in frame], ["", ""])  # ... which does not fill the frame

            entries = s.items("kIdSkinList")
            s.pick("kIdSkinList", entries.index("Second"))
            self.assertEqual([s.text(i) for i in frame], ["Автор: Иван Петров", "Второй"])
            s.pick("kIdSkinList", entries.index("Default"))
            self.assertTrue(s.text("kIdAuthor").startswith("Автор: "))

            s.type("kIdAlpha", "255")
            self.assertEqual(len(visible_windows(p)), 1)

            def test_windows():
                return [r for r in visible_windows(p) if r[2:] == (bw, bh)]

            s.click("kIdSkinTest")
            shown = wait_for(test_windows, 10)
            self.assertEqual(len(shown), 1, "the test window is not up at the picture's size")
            x, y, _, _ = shown[0]

            os.makedirs("/tmp/shots", exist_ok=True)

            def shows_picture(at_x, at_y, shot):
                seen = screen_region(at_x, at_y, bw, bh, shot)
                same = sum(1 for yy in range(bh) for xx in range(bw) if seen[yy][xx] == pixels[yy][xx])
                return same > bw * bh * 0.99

            # Mapped first, painted a moment later: look again while it is up.
            painted = False
            while not painted and test_windows():
                painted = shows_picture(x, y, "/tmp/shots/issue9-skin-test.png")
            self.assertTrue(painted, "the test window does not show main.bmp")
            self.assertTrue(wait_for(lambda: not test_windows(), 5), "the test window did not hide")
            p.screenshot("/tmp/shots/issue9-skin-test-hidden.png")

            # Held with the left button it is dragged and stays; a click lets it go.
            s.click("kIdSkinTest")
            self.assertTrue(wait_for(test_windows, 10))
            p.xdotool("mousemove", str(x + 20), str(y + 20), "mousedown", "1")
            self.assertTrue(wait_for(lambda: p.moving(TITLE), 10), "pressing the picture did not start a move")
            p.xdotool("mousemove", str(x + 60), str(y + 100), "mousemove", str(x + 70), str(y + 120))
            self.assertTrue(wait_for(lambda: [r[:2] for r in test_windows()] == [(x + 50, y + 100)], 10),
                            "the window did not follow the mouse: %r" % test_windows())
            p.xdotool("mouseup", "1")
            self.assertTrue(wait_for(lambda: not p.moving(TITLE), 10), "releasing the button did not end the move")
            # Only time shows that the one-second hide timer no longer runs.
            time.sleep(1.5)
            moved = test_windows()
            self.assertEqual(len(moved), 1, "a window that was held did not stay")
            self.assertEqual(moved[0][:2], (x + 50, y + 100))
            self.assertTrue(shows_picture(x + 50, y + 100, "/tmp/shots/issue9-skin-test-dragged.png"),
                            "the held test window does not show main.bmp")
            p.xdotool("mousemove", str(x + 60), str(y + 110), "click", "1")
            self.assertTrue(wait_for(lambda: not test_windows(), 5), "a click did not let it hide")


if __name__ == "__main__":
    unittest.main()
