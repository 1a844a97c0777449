"""The settings program's tariff editor, interface chooser and skin chooser,
driven the way a user would: the real qmeter_cfg.exe under Wine, its files,
its window texts and the screen."""
import os
import shutil
import struct
import subprocess
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

TITLE = "Настройки"
BN_CLICKED = 0
LBN_SELCHANGE = 1
CBN_SELCHANGE = 1
LB_SETCURSEL = 0x0186
CB_SETCURSEL = 0x014E
BM_SETCHECK = 0x00F1

ETHERNET = "Соединение через локальную сеть (IEEE 802.3)"


class Settings:
    """The running settings program, its controls found by page and kind."""

    def __init__(self, p):
        self.p = p
        p.start_settings()
        assert p.wait_window(TITLE, timeout=60, visible=True), "the settings window did not appear"
        self.rows = p.window_texts(TITLE)

    def page(self, marker):
        """Indexes of the controls of the page that holds the button `marker`."""
        groups, current = [], None
        for i, r in enumerate(self.rows):
            if r["cls"] == "VtcSettingsPage":
                current = []
                groups.append(current)
            elif current is not None:
                current.append(i)
        for g in groups:
            if any(self.rows[i]["cls"] == "Button" and self.rows[i]["text"] == marker for i in g):
                return g
        raise AssertionError("no page with " + marker)

    def of_class(self, page, cls, n=0):
        return [i for i in page if self.rows[i]["cls"] == cls][n]

    def button(self, page, text):
        return next(i for i in page if self.rows[i]["cls"] == "Button" and self.rows[i]["text"] == text)

    # -- what a user does -------------------------------------------------
    def settle(self):
        time.sleep(0.4)

    def click(self, i):
        assert self.p.probe("child-command", TITLE, str(i), str(BN_CLICKED))[0] == 0
        self.settle()

    def pick(self, i, entry):
        """Picks a list or drop-down entry as a user's click would (with its notification)."""
        listbox = self.rows[i]["cls"] == "ListBox"
        msg = LB_SETCURSEL if listbox else CB_SETCURSEL
        assert self.p.probe("child-post", TITLE, str(i), str(msg), str(entry), "0")[0] == 0
        assert self.p.probe("child-command", TITLE, str(i), str(LBN_SELCHANGE if listbox else CBN_SELCHANGE))[0] == 0
        self.settle()

    def choose(self, i, entry):
        """Selects a drop-down entry without any notification."""
        assert self.p.probe("child-post", TITLE, str(i), str(CB_SETCURSEL), str(entry), "0")[0] == 0
        self.settle()

    def type(self, i, text):
        assert self.p.probe("child-text", TITLE, str(i), text)[0] == 0

    def tick(self, i, on):
        assert self.p.probe("child-post", TITLE, str(i), str(BM_SETCHECK), "1" if on else "0", "0")[0] == 0

    # -- what a user sees -------------------------------------------------
    def text(self, i):
        return self.p.window_texts(TITLE)[i]["text"]

    def items(self, i):
        code, out = self.p.probe("child-items", TITLE, str(i))
        assert code == 0
        return out.splitlines()

    def message(self):
        """Texts of the message box that is up, or None."""
        code, out = self.p.probe("msgbox", TITLE)
        if code != 0:
            return None
        return [line.split("\t", 4)[4] for line in out.splitlines() if line.count("\t") >= 4]

    def wait_message(self, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            m = self.message()
            if m is not None:
                return m
            time.sleep(0.2)
        return None

    def dismiss(self):
        self.p.probe("msgbox", TITLE, "ok")
        end = time.monotonic() + 20
        while self.p.probe("msgbox", TITLE, "gone")[0] != 0 and time.monotonic() < end:
            time.sleep(0.2)
        assert self.p.probe("msgbox", TITLE, "gone")[0] == 0, "the message box did not go away"


class TariffPage:
    def __init__(self, s):
        self.s = s
        g = s.page("Сохранить")
        self.list = s.of_class(g, "ListBox")
        (self.name, self.start, self.end, self.free_in, self.free_out, self.price_in, self.price_out,
         self.price_hour) = [s.of_class(g, "Edit", n) for n in range(8)]
        self.add = s.button(g, "Добавить")
        self.delete = s.button(g, "Удалить")
        self.save = s.button(g, "Сохранить")
        self.all = s.button(g, "Все")
        self.days = [s.button(g, d) for d in ("Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс")]

    def fill(self, start, end, free_in="", price_in="", all_days=False):
        s = self.s
        s.type(self.start, start)
        s.type(self.end, end)
        s.type(self.free_in, free_in)
        s.type(self.price_in, price_in)
        if all_days:
            s.click(self.all)


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
            t = TariffPage(s)
            s.click(t.add)
            s.click(t.add)
            self.assertEqual(s.items(t.list), ["Новый тариф №0", "Новый тариф №1"])
            self.assertEqual(p.read_ini("tarif.ini"),
                             [("Новый тариф №0", [("st", "0")]), ("Новый тариф №1", [("st", "0")])])

            s.pick(t.list, 0)
            self.assertEqual(s.text(t.name), "Новый тариф №0")
            self.assertEqual(s.text(t.start), "00:00")
            t.fill("06:03", "18:00", free_in="100", price_in="1,5")
            s.click(t.save)
            self.assertIsNone(s.message())
            k = keys(p, "Новый тариф №0")
            self.assertEqual(k["st"], "603")
            self.assertEqual(k["et"], "1800")
            self.assertEqual(k["freein"], "104857600")
            self.assertEqual(k["int"], "0.00000143051147460938")
            self.assertEqual(s.text(t.start), "")  # the editor is emptied after a save

            s.pick(t.list, 0)
            self.assertEqual((s.text(t.start), s.text(t.end), s.text(t.free_in), s.text(t.price_in)),
                             ("06:03", "18:00", "100", "1.5"))

            before = p.read_bytes("tarif.ini")
            t.fill("07:00", "06:00")
            s.click(t.save)
            box = s.wait_message()
            self.assertIsNotNone(box, "no warning for a start after the end")
            self.assertIn("Начальный период больше конечного. Проверьте правильность ввода", box)
            s.dismiss()
            self.assertEqual(p.read_bytes("tarif.ini"), before)
            self.assertEqual(s.text(t.start), "07:00")  # the editor keeps what was typed

    def test_renaming_the_first_of_three_makes_it_the_last_section(self):
        tarif = [("Дневной", {"st": "800", "et": "1959"}), ("Ночной", {"st": "2000", "et": "2359"}),
                 ("Выходной", {"st": "0", "et": "2359", "6": "1", "7": "1"})]
        with vb.Program(options={"Look": "Default"}, tarif=tarif) as p:
            s = Settings(p)
            t = TariffPage(s)
            self.assertEqual(s.items(t.list), ["Дневной", "Ночной", "Выходной"])
            s.pick(t.list, 0)
            self.assertEqual((s.text(t.start), s.text(t.end)), ("08:00", "19:59"))
            s.type(t.name, "Утренний")
            s.click(t.save)
            self.assertIsNone(s.message())
            self.assertEqual([name for name, _ in p.read_ini("tarif.ini")], ["Ночной", "Выходной", "Утренний"])
            self.assertEqual(keys(p, "Утренний")["st"], "800")
            self.assertEqual(s.items(t.list), ["Утренний", "Ночной", "Выходной"])

            # A name another tariff has (letter case aside) is refused and nothing is written.
            before = p.read_bytes("tarif.ini")
            s.pick(t.list, 1)
            s.type(t.name, "ВЫХОДНОЙ")
            s.click(t.save)
            box = s.wait_message()
            self.assertIsNotNone(box, "no warning for a name that is taken")
            s.dismiss()
            self.assertEqual(p.read_bytes("tarif.ini"), before)

            # Deleting asks nothing.
            s.pick(t.list, 2)
            s.click(t.delete)
            self.assertIsNone(s.message())
            self.assertEqual([name for name, _ in p.read_ini("tarif.ini")], ["Ночной", "Утренний"])
            self.assertEqual(s.items(t.list), ["Утренний", "Ночной"])

    def test_a_tariff_saved_here_is_the_one_the_meter_prices_with(self):
        # The first tariff applies on no day; the one saved here covers the whole week.
        tarif = [("Никогда", {"st": "0", "et": "2359", "int": "1"}), ("Новый тариф №0", {"st": "0"})]
        with vb.Program(options={"Look": "Default", "Interface": "lo", "AutoFind": "0"}, tarif=tarif) as p:
            s = Settings(p)
            t = TariffPage(s)
            s.pick(t.list, 1)
            t.fill("00:00", "23:59", free_in="0", price_in="1,5", all_days=True)
            s.click(t.save)
            self.assertEqual(keys(p, "Новый тариф №0")["7"], "1")
            p.settings.kill()
            p.settings.wait(10)

            p.start_meter()
            time.sleep(2)
            rx0, _ = vb.netdev("lo")
            vb.send_loopback(20 * 1048576)
            rx1, _ = vb.netdev("lo")
            time.sleep(3)
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
                g = s.page("Найти")
                types = s.of_class(g, "ComboBox", 0)
                found = s.of_class(g, "ListBox")
                primary, secondary = s.of_class(g, "Edit", 0), s.of_class(g, "Edit", 1)
                self.assertEqual(s.items(types)[2], ETHERNET)
                s.choose(types, 2)
                s.click(s.button(g, "Найти"))
                self.assertEqual(s.items(found), veth)
                s.click(s.button(g, "Найти"))
                self.assertEqual(s.items(found), veth)  # once each, however often

                s.choose(types, 0)
                s.click(s.button(g, "Найти"))
                self.assertEqual(s.items(found), everything)
                self.assertIn("lo", s.items(found))

                # Nothing picked: the field keeps what it has.
                s.type(primary, "typed")
                s.click(s.button(g, "Сделать основным"))
                self.assertEqual(s.text(primary), "typed")
                s.choose(types, 0)
                assert p.probe("child-post", TITLE, str(found), str(LB_SETCURSEL), str(everything.index("lo")), "0")[0] == 0
                s.settle()
                s.click(s.button(g, "Сделать вторичным"))
                self.assertEqual(s.text(secondary), "lo")
                self.assertEqual(s.text(primary), "typed")
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
            g = s.page("Тест скина")
            skins = s.of_class(g, "ComboBox", 0)
            alpha = s.of_class(g, "Edit", 0)
            frame = [i for i in g if s.rows[i]["cls"] == "Static"][-2:]
            self.assertEqual(sorted(s.items(skins)), ["Default", "Second", "x"])
            self.assertEqual(s.text(skins), "Default")  # the stored skin, selected while loading
            self.assertEqual([s.text(i) for i in frame], ["", ""])  # ... which does not fill the frame

            entries = s.items(skins)
            s.pick(skins, entries.index("Second"))
            self.assertEqual([s.text(i) for i in frame], ["Автор: Иван Петров", "Второй"])
            s.pick(skins, entries.index("Default"))
            self.assertTrue(s.text(frame[0]).startswith("Автор: "))

            s.type(alpha, "255")
            settings_rect = visible_windows(p)
            self.assertEqual(len(settings_rect), 1)
            s.click(s.button(g, "Тест скина"))
            shown = [r for r in visible_windows(p) if r[2:] == (bw, bh)]
            self.assertEqual(len(shown), 1, "the test window is not up at the picture's size")
            x, y, _, _ = shown[0]

            os.makedirs("/tmp/shots", exist_ok=True)

            def shows_picture(at_x, at_y, shot):
                seen = screen_region(at_x, at_y, bw, bh, shot)
                same = sum(1 for yy in range(bh) for xx in range(bw) if seen[yy][xx] == pixels[yy][xx])
                return same > bw * bh * 0.99

            # Mapped first, painted a moment later: look again while it is up.
            painted = False
            while not painted and any(r[2:] == (bw, bh) for r in visible_windows(p)):
                painted = shows_picture(x, y, "/tmp/shots/issue9-skin-test.png")
            self.assertTrue(painted, "the test window does not show main.bmp")
            end = time.monotonic() + 4
            while time.monotonic() < end and any(r[2:] == (bw, bh) for r in visible_windows(p)):
                time.sleep(0.1)
            self.assertFalse(any(r[2:] == (bw, bh) for r in visible_windows(p)), "the test window did not hide")
            p.screenshot("/tmp/shots/issue9-skin-test-hidden.png")

            # Held with the left button it is dragged and stays; a click lets it go.
            s.click(s.button(g, "Тест скина"))
            p.xdotool("mousemove", str(x + 20), str(y + 20), "mousedown", "1")
            time.sleep(0.3)
            p.xdotool("mousemove", str(x + 60), str(y + 100))
            time.sleep(0.3)
            p.xdotool("mousemove", str(x + 70), str(y + 120))
            time.sleep(0.3)
            p.xdotool("mouseup", "1")
            time.sleep(2)
            moved = [r for r in visible_windows(p) if r[2:] == (bw, bh)]
            self.assertEqual(len(moved), 1, "a window that was held did not stay")
            self.assertEqual(moved[0][:2], (x + 50, y + 100))
            self.assertTrue(shows_picture(x + 50, y + 100, "/tmp/shots/issue9-skin-test-dragged.png"),
                            "the held test window does not show main.bmp")
            p.xdotool("mousemove", str(x + 60), str(y + 110), "click", "1")
            time.sleep(3)
            self.assertFalse(any(r[2:] == (bw, bh) for r in visible_windows(p)), "a click did not let it hide")


if __name__ == "__main__":
    unittest.main()
