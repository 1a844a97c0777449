"""The settings program as a user drives it: fields changed and "ОК" pressed,
"Отмена" after edits, the password gate, and a counter reset that the meter
finds at its next start. Controls are set with window messages from another
process (the probe), keys are typed with xdotool."""
import os
import subprocess
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

SETTINGS = "Настройки"
GATE = "Введите пароль"
NOTICE = "Чтобы изменения вступили в силу необходимо перезагрузить программу."
SHOTS = "/tmp/shots"

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
BM_SETCHECK = 0x00F1
BM_CLICK = 0x00F5
CB_SETCURSEL = 0x014E

KEYS_IN_ORDER = ["Look", "AlphaBlend", "denstr", "Interface", "Interface2", "Statkol", "Statistic", "dof",
                 "AutoFind", "ShowBt", "AutoClose", "StayOnTop", "AutoUpdate"]


def scramble(text):
    """The stored form of a password, as text the probe reads back."""
    out = bytearray()
    for b in text.encode("cp1251"):
        out += bytes((97 + b // 7, 65 + b % 7))
    return out.decode("cp1251")


PAGE_MARKS = ("Статистика", "Тест скина", "Удалить", "Найти")  # one caption of each page, in tab order


class Window:
    """The child controls of a top-level window, found by page and position."""

    def __init__(self, program, title):
        self.p = program
        self.title = title
        # A window that has just appeared may not answer the first look.
        self.rows = []
        end = time.monotonic() + 10
        while not self.rows and time.monotonic() < end:
            self.rows = program.window_texts(title)
            if not self.rows:
                time.sleep(0.2)
        # Children are listed depth first: each page row is followed by its controls.
        groups = {}
        current = None
        for i, r in enumerate(self.rows):
            r["index"] = i
            if r["cls"] == "VtcSettingsPage":
                current = groups.setdefault(i, [])
            elif current is not None and r["cls"] != "SysTabControl32":
                current.append(r)
            if r["cls"] == "SysTabControl32":
                current = None
        self.pages, self.controls = [], []
        for mark in PAGE_MARKS:
            for i, children in groups.items():
                if any(c["text"] == mark for c in children):
                    self.pages.append(self.rows[i])
                    self.controls.append(children)

    def at(self, page, x, y, cls=None):
        base = self.pages[page]
        for r in self.controls[page]:
            if r["x"] - base["x"] == x and r["y"] - base["y"] == y:
                if cls is None or r["cls"].lower() == cls.lower():
                    return r["index"]
        raise AssertionError("no control at %d,%d on page %d" % (x, y, page))

    def button(self, text):
        for r in self.rows:
            if r["cls"].lower() == "button" and r["text"] == text:
                return r["index"]
        raise AssertionError("no button %s among %r" % (text, [(r["cls"], r["text"]) for r in self.rows]))

    def set_text(self, index, text):
        code, _ = self.p.probe("child-text", self.title, str(index), text)
        assert code == 0

    def post(self, index, msg, wparam=0, lparam=0):
        code, _ = self.p.probe("child-post", self.title, str(index), str(msg), str(wparam), str(lparam))
        assert code == 0

    def click(self, text):
        self.post(self.button(text), BM_CLICK)


def texts_of(p, title):
    return [r["text"] for r in p.window_texts(title)]


wait_for = vb.wait_for

class SettingsProgram(unittest.TestCase):
    def start(self, p):
        proc = p.start_settings()
        self.assertTrue(p.wait_window(SETTINGS, 30, visible=True), "the settings window did not show")
        return proc, Window(p, SETTINGS)

    def test_ok_saves_the_thirteen_keys_password_and_autorun(self):
        options = [("Left", "7"), ("UpdateURL", "http://example.invalid/"), ("Look", "strip")]
        with vb.Program(options=options) as p:
            proc, w = self.start(p)
            w.set_text(w.at(0, 8, 56, "Edit"), "Пароль")
            w.post(w.at(0, 8, 88, "Button"), BM_SETCHECK, 1)
            w.post(w.at(0, 8, 136, "ComboBox"), CB_SETCURSEL, 3)   # "По месяцам"
            w.post(w.at(0, 8, 184, "ComboBox"), CB_SETCURSEL, 6)   # "С воскресенья"
            w.set_text(w.at(0, 8, 240, "Edit"), "25x")
            w.set_text(w.at(1, 8, 80, "Edit"), "200")
            w.set_text(w.at(1, 8, 168, "ComboBox"), "тугрики")
            w.post(w.at(1, 8, 208, "Button"), BM_SETCHECK, 1)
            w.post(w.at(1, 8, 256, "Button"), BM_SETCHECK, 1)
            w.post(w.at(1, 8, 280, "Button"), BM_SETCHECK, 1)
            w.set_text(w.at(3, 144, 136, "Edit"), "Realtek PCIe GBE")
            w.set_text(w.at(3, 144, 160, "Edit"), "Модем №2")
            w.post(w.at(3, 8, 352, "ComboBox"), CB_SETCURSEL, 4)  # "Сеть ATM"
            w.click("ОК")

            self.assertTrue(wait_for(lambda: NOTICE in texts_of(p, SETTINGS)), "no restart notice")
            p.screenshot(os.path.join(SHOTS, "settings-restart-notice.png"))
            # The notice is modal: nothing has ended yet; its OK ends the program.
            self.assertIsNone(proc.poll())
            p.post(SETTINGS, WM_COMMAND, 1, 0)
            self.assertTrue(p.wait_exit(20, proc), "the program did not end after the notice")

            self.assertEqual(p.read_ini("options.ini"), [("Options", [
                ("Left", "7"), ("UpdateURL", "http://example.invalid/"),
                ("Look", "Strip"), ("AlphaBlend", "200"), ("denstr", "тугрики"),
                ("Interface", "Realtek PCIe GBE"), ("Interface2", "Модем №2"), ("Statkol", "25x"),
                ("Statistic", "3"), ("dof", "7"), ("AutoFind", "37"), ("ShowBt", "1"), ("AutoClose", "0"),
                ("StayOnTop", "1"), ("AutoUpdate", "1")])])
            self.assertEqual(p.reg_get(vb.PASSWORD_KEY, "DumpFile"), ("REG_SZ", scramble("Пароль")))
            kind, target = p.reg_get(vb.RUN_KEY, "Varnok Traffic Counter")
            self.assertEqual(kind, "REG_SZ")
            self.assertEqual(target.lower(), p.win_path("qmeter4.exe").lower())

    def test_a_fresh_folder_gets_exactly_the_thirteen_keys(self):
        with vb.Program() as p:
            proc, w = self.start(p)
            w.click("ОК")
            self.assertTrue(wait_for(lambda: NOTICE in texts_of(p, SETTINGS)))
            p.post(SETTINGS, WM_COMMAND, 1, 0)
            self.assertTrue(p.wait_exit(20, proc))
            ini = p.read_ini("options.ini")
            self.assertEqual([k for k, _ in ini[0][1]], KEYS_IN_ORDER)
            self.assertEqual(dict(ini[0][1])["dof"], "1")
            self.assertEqual(dict(ini[0][1])["AutoFind"], "0")
            self.assertEqual(p.reg_get(vb.PASSWORD_KEY, "DumpFile"), ("REG_SZ", ""))
            self.assertIsNone(p.reg_get(vb.RUN_KEY, "Varnok Traffic Counter"))

    def test_cancel_and_close_box_leave_every_store_unchanged(self):
        options = [("Look", "Default"), ("Statkol", "30"), ("ShowBt", "0")]
        for how in ("Отмена", "close box"):
            with vb.Program(options=options) as p:
                p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", "")
                p.reg_set_sz(vb.RUN_KEY, "Varnok Traffic Counter", "C:\\elsewhere\\qmeter4.exe")
                before = p.read_bytes("options.ini")
                proc, w = self.start(p)
                w.set_text(w.at(0, 8, 56, "Edit"), "новый")
                w.post(w.at(0, 8, 88, "Button"), BM_SETCHECK, 0)
                w.set_text(w.at(0, 8, 240, "Edit"), "99")
                w.post(w.at(1, 8, 208, "Button"), BM_SETCHECK, 1)
                if how == "Отмена":
                    w.click("Отмена")
                else:
                    p.post(SETTINGS, WM_CLOSE)
                self.assertTrue(p.wait_exit(20, proc), how)
                self.assertEqual(p.read_bytes("options.ini"), before, how)
                self.assertEqual(p.reg_get(vb.PASSWORD_KEY, "DumpFile"), ("REG_SZ", ""), how)
                self.assertEqual(p.reg_get(vb.RUN_KEY, "Varnok Traffic Counter"),
                                 ("REG_SZ", "C:\\elsewhere\\qmeter4.exe"), how)

    def test_password_gate(self):
        # The right password, typed for real; Enter alone does not let anyone in.
        with vb.Program(options={"Statkol": "30"}) as p:
            p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", scramble("Secret9"))
            proc = p.start_settings()
            self.assertTrue(p.wait_window(GATE, 30, visible=True), "no password window")
            self.assertTrue(p.window_exists(SETTINGS))
            self.assertFalse(p.window_visible(SETTINGS), "settings shown before the password")
            gate = Window(p, GATE)
            self.assertEqual([(r["cls"].lower(), r["text"]) for r in gate.rows],
                             [("static", "Введите пароль"), ("edit", ""), ("button", "OK")])
            field = gate.rows[1]
            p.xdotool("mousemove", str(field["x"] + 20), str(field["y"] + 10), "click", "1")
            p.xdotool("type", "--delay", "50", "Secret9")
            p.xdotool("key", "Return")
            time.sleep(1.5)
            p.screenshot(os.path.join(SHOTS, "settings-password-gate.png"))
            self.assertIsNone(proc.poll(), "Enter ended the program")
            self.assertFalse(p.window_visible(SETTINGS), "Enter confirmed the password")
            self.assertTrue(p.window_visible(GATE))
            gate.click("OK")
            self.assertTrue(p.wait_window(SETTINGS, 20, visible=True), "right password refused")
            self.assertFalse(p.window_exists(GATE))
            Window(p, SETTINGS).click("Отмена")
            self.assertTrue(p.wait_exit(20, proc))

        # Cyrillic passwords compare exactly as well.
        with vb.Program() as p:
            p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", scramble("Секрет"))
            proc = p.start_settings()
            self.assertTrue(p.wait_window(GATE, 30, visible=True))
            gate = Window(p, GATE)
            gate.set_text(1, "Секрет")
            gate.click("OK")
            self.assertTrue(p.wait_window(SETTINGS, 20, visible=True), "right password refused")
            Window(p, SETTINGS).click("Отмена")
            self.assertTrue(p.wait_exit(20, proc))

        # Wrong letter case, an empty answer, a close request and Alt+F4 all end the program.
        for answer in ("секрет", "", None, "alt+F4"):
            with vb.Program() as p:
                p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", scramble("Секрет"))
                proc = p.start_settings()
                self.assertTrue(p.wait_window(GATE, 30, visible=True))
                gate = Window(p, GATE)
                if answer is None:
                    p.post(GATE, WM_CLOSE)
                elif answer == "alt+F4":
                    field = gate.rows[1]
                    p.xdotool("mousemove", str(field["x"] + 20), str(field["y"] + 10), "click", "1")
                    p.xdotool("key", "alt+F4")
                else:
                    gate.set_text(1, answer)
                    gate.click("OK")
                self.assertTrue(p.wait_exit(20, proc), "the program went on after %r" % answer)
                self.assertFalse(p.window_exists(SETTINGS))
                self.assertEqual(p.reg_get(vb.PASSWORD_KEY, "DumpFile"), ("REG_SZ", scramble("Секрет")))

    def test_counter_reset_is_what_the_meter_loads_next(self):
        year = time.localtime().tm_year
        # By years, with this year's marker: starting the meter closes no period,
        # so whatever it finds in the registry is what it counts on from.
        options = {"Statistic": "4", "AutoFind": "6", "Interface": "no such link", "ShowBt": "0"}
        with vb.Program(options=options, tarif=None) as p:
            def seed():
                p.reg_set_sz(vb.TOTALS_KEY, "InTall", "123456789")
                p.reg_set_sz(vb.TOTALS_KEY, "OutTall", "4567")
                p.reg_set_sz(vb.TOTALS_KEY, "denall", "12.5")
                p.reg_set_dword(vb.TOTALS_KEY, "timeall", 3600)
                p.reg_set_dword(vb.TOTALS_KEY, "year", year)
                p.reg_set_dword(vb.TOTALS_KEY, "month", time.localtime().tm_mon)
                p.reg_set_dword(vb.TOTALS_KEY, "day", time.localtime().tm_mday)

            # Without a reset the meter carries the stored totals on.
            seed()
            p.start_meter()
            time.sleep(3)
            p.kill_meter()
            self.assertEqual(p.totals(), (123456789, 4567, 12.5, 3600))

            proc, w = self.start(p)
            w.click("Обнулить текущие счетчики")
            self.assertTrue(wait_for(lambda: p.totals() == (0, 0, 0, 0)), p.totals())
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "InTall"), ("REG_SZ", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "timeall"), ("REG_DWORD", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "year"), ("REG_DWORD", str(year)))
            self.assertIsNone(proc.poll())  # nothing shown, nothing asked
            w.click("Отмена")  # does not undo the reset
            self.assertTrue(p.wait_exit(20, proc))
            self.assertEqual(p.totals(), (0, 0, 0, 0))

            p.start_meter()
            time.sleep(3)
            self.assertEqual(p.totals(), (0, 0, 0, 0))
            p.kill_meter()
            self.assertIsNone(p.read_bytes("statistic.ini"))  # no period was closed

    def test_pages_read_correctly_in_both_locales(self):
        expected = {
            0: ["Пароль на выключение программы и изменение настроек (пусто - пароль отключен)",
                "Автозагрузка вместе с Windows", "Статистика", "Неделя начинается",
                "Количество записей статистики:"],
            1: ["Внешний вид", "Прозрачность (0-255)", "Тест скина", "Наименование валюты", "Информация о скине",
                "Показывать всплывающие подсказки", "Поверх всех окон"],
            2: ["Удалить", "Добавить", "Название тарифа", "Пн", "Вс", "Сохранить"],
            3: ["Тип соединения", "Найти", "Основной интерфейс", "Сделать вторичным",
                "Автоопределение интерфейса (работает только на основной интерфейс)"],
        }
        for lang in ("ru_RU.UTF-8", "en_US.UTF-8"):
            with vb.Program(options={"Look": "Default", "denstr": "руб."}, lang=lang) as p:
                proc, w = self.start(p)
                texts = [r["text"] for r in w.rows]
                for page, items in expected.items():
                    for t in items:
                        self.assertIn(t, texts, "%s, page %d" % (lang, page))
                self.assertIn("ОК", texts)
                tab = next(r for r in w.rows if r["cls"] == "SysTabControl32")
                tag = lang.split("_")[0]
                # Tabs are clicked where a user clicks them.
                for page, x in enumerate((28, 92, 158, 233)):
                    p.xdotool("mousemove", str(tab["x"] + x), str(tab["y"] + 12), "click", "1")
                    self.assertTrue(wait_for(lambda: Window(p, SETTINGS).pages[page]["visible"], 10),
                                    "page %d did not show" % page)
                    time.sleep(0.3)
                    p.screenshot(os.path.join(SHOTS, "settings-%s-page%d.png" % (tag, page + 1)))
                w.click("Отмена")
                self.assertTrue(p.wait_exit(20, proc))


if __name__ == "__main__":
    unittest.main()
