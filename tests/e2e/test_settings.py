"""The settings program as a user drives it: fields changed and "ОК" pressed,
"Отмена" after edits, the password gate, and a counter reset that the meter
finds at its next start. Controls are found by their IDs and set with window
messages from another process (the probe), keys are typed with xdotool."""
import os
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

SETTINGS = "Настройки"
GATE = "Введите пароль"
NOTICE = "Чтобы изменения вступили в силу необходимо перезагрузить программу."
SHOTS = "/tmp/shots"
ID = vb.ids()

WM_CLOSE = 0x0010
BM_SETCHECK = 0x00F1
CB_SETCURSEL = 0x014E

def message(p):
    """Texts of the settings program's message box that is up, or None."""
    code, out = p.probe("msgbox", SETTINGS)
    if code != 0:
        return None
    return [line.split("\t", 4)[4] for line in out.splitlines() if line.count("\t") >= 4]


wait_for = vb.wait_for


class SettingsProgram(unittest.TestCase):
    def start(self, p):
        proc = p.start_settings()
        self.assertTrue(p.wait_window(SETTINGS, 30, visible=True), "the settings window did not show")
        return proc

    def ok_and_notice(self, p, proc, shot=None):
        """"ОК", then the restart notice, whose OK ends the program."""
        p.click(SETTINGS, ID["kIdOk"], wait=False)  # the notice holds the handler
        self.assertTrue(wait_for(lambda: NOTICE in (message(p) or [])), "no restart notice")
        if shot:
            p.settled_screenshot(os.path.join(SHOTS, shot))
        # The notice is modal: nothing has ended yet; its OK ends the program.
        self.assertIsNone(proc.poll())
        p.probe("msgbox", SETTINGS, "ok")
        self.assertTrue(p.wait_exit(20, proc), "the program did not end after the notice")

    def test_ok_in_a_fresh_folder_saves_what_was_typed_password_and_autorun(self):
        # What each control stores, key by key and in which order, is the
        # window's and the settings file's unit tests'; here the real program
        # writes its folder and the registry, then ends after the notice.
        with vb.Program() as p:
            proc = self.start(p)
            p.set_text(SETTINGS, ID["kIdPassword"], "Пароль")
            p.send_control(SETTINGS, ID["kIdAutorun"], BM_SETCHECK, 1)
            p.send_control(SETTINGS, ID["kIdStatPeriod"], CB_SETCURSEL, 3)  # "По месяцам"
            p.set_text(SETTINGS, ID["kIdCurrency"], "тугрики")
            self.ok_and_notice(p, proc, shot="settings-restart-notice.png")

            ini = dict(p.read_ini("options.ini")[0][1])
            self.assertEqual((ini["Statistic"], ini["denstr"]), ("3", "тугрики"))
            self.assertEqual(p.stored_password(), "Пароль")
            kind, target = p.reg_get(vb.RUN_KEY, "Varnok Traffic Counter")
            self.assertEqual(kind, "REG_SZ")
            self.assertEqual(target.lower(), p.win_path("qmeter4.exe").lower())

    def test_cancel_and_close_box_leave_every_store_unchanged(self):
        options = [("Look", "Default"), ("Statkol", "30"), ("ShowBt", "0")]
        for how in ("Отмена", "close box"):
            with vb.Program(options=options) as p:
                p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", "")
                p.reg_set_sz(vb.RUN_KEY, "Varnok Traffic Counter", "C:\\elsewhere\\qmeter4.exe")
                before = p.read_bytes("options.ini")
                proc = self.start(p)
                p.set_text(SETTINGS, ID["kIdPassword"], "новый")
                p.send_control(SETTINGS, ID["kIdAutorun"], BM_SETCHECK, 0)
                p.set_text(SETTINGS, ID["kIdRecords"], "99")
                p.send_control(SETTINGS, ID["kIdHints"], BM_SETCHECK, 1)
                if how == "Отмена":
                    p.click(SETTINGS, ID["kIdCancel"])
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
            p.store_password("Secret9")
            proc = p.start_settings()
            self.assertTrue(p.wait_window(GATE, 30, visible=True), "no password window")
            self.assertTrue(p.window_exists(SETTINGS))
            self.assertFalse(p.window_visible(SETTINGS), "settings shown before the password")
            self.assertEqual([(r["id"], r["cls"].lower(), r["text"]) for r in p.window_texts(GATE)],
                             [(ID["kIdGatePrompt"], "static", "Введите пароль"), (ID["kIdGateField"], "edit", ""),
                              (ID["kIdGateOk"], "button", "OK")])
            field = p.control(GATE, ID["kIdGateField"])
            p.xdotool("mousemove", str(field["x"] + 20), str(field["y"] + 10), "click", "1")
            p.xdotool("type", "--delay", "50", "Secret9")
            # Keys are handled in order: once the key after Enter is in the
            # field, Enter has been handled.
            p.xdotool("key", "Return", "x")
            self.assertTrue(wait_for(lambda: p.control_text(GATE, ID["kIdGateField"]) == "Secret9x", 10),
                            "typing did not reach the field")
            p.xdotool("key", "BackSpace")
            self.assertTrue(wait_for(lambda: p.control_text(GATE, ID["kIdGateField"]) == "Secret9", 10))
            p.settled_screenshot(os.path.join(SHOTS, "settings-password-gate.png"))
            self.assertIsNone(proc.poll(), "Enter ended the program")
            self.assertFalse(p.window_visible(SETTINGS), "Enter confirmed the password")
            self.assertTrue(p.window_visible(GATE))
            p.click(GATE, ID["kIdGateOk"])
            self.assertTrue(p.wait_window(SETTINGS, 20, visible=True), "right password refused")
            self.assertFalse(p.window_exists(GATE))
            p.click(SETTINGS, ID["kIdCancel"])
            self.assertTrue(p.wait_exit(20, proc))

        # A wrong answer ends the program without showing the settings. (Which
        # answers are wrong, and that a close request is a refusal too, is the
        # gate's unit tests'.)
        with vb.Program() as p:
            p.store_password("Секрет")
            proc = p.start_settings()
            self.assertTrue(p.wait_window(GATE, 30, visible=True))
            p.set_text(GATE, ID["kIdGateField"], "секрет")
            p.click(GATE, ID["kIdGateOk"], wait=False)
            self.assertTrue(p.wait_exit(20, proc), "the program went on after a wrong answer")
            self.assertFalse(p.window_exists(SETTINGS))
            self.assertEqual(p.stored_password(), "Секрет")

    def test_counter_reset_is_what_the_meter_loads_next(self):
        year = time.localtime().tm_year
        # By years, with this year's marker: starting the meter closes no period,
        # so whatever it finds in the registry is what it counts on from. It
        # measures loopback, which carries nothing here, and has no tariff:
        # only its online seconds grow, and show that it ticked.
        options = {"Statistic": "4", "AutoFind": "24", "ShowBt": "0"}
        with vb.Program(options=options, tarif=None) as p:
            p.reg_set_sz(vb.TOTALS_KEY, "InTall", "123456789")
            p.reg_set_sz(vb.TOTALS_KEY, "OutTall", "4567")
            p.reg_set_sz(vb.TOTALS_KEY, "denall", "12.5")
            p.reg_set_dword(vb.TOTALS_KEY, "timeall", 3600)
            p.reg_set_dword(vb.TOTALS_KEY, "year", year)
            p.reg_set_dword(vb.TOTALS_KEY, "month", time.localtime().tm_mon)
            p.reg_set_dword(vb.TOTALS_KEY, "day", time.localtime().tm_mday)

            # Without a reset the meter carries the stored totals on.
            p.start_meter()
            self.assertTrue(wait_for(lambda: p.saved_seconds() > 3600), "the meter did not tick")
            p.kill_meter()
            self.assertEqual(p.totals()[:3], (123456789, 4567, 12.5))

            proc = self.start(p)
            self.assertTrue(p.click(SETTINGS, ID["kIdReset"]))
            self.assertEqual(p.totals(), (0, 0, 0, 0))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "InTall"), ("REG_SZ", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "timeall"), ("REG_DWORD", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "year"), ("REG_DWORD", str(year)))
            self.assertIsNone(message(p))  # nothing shown, nothing asked
            p.click(SETTINGS, ID["kIdCancel"])  # does not undo the reset
            self.assertTrue(p.wait_exit(20, proc))
            self.assertEqual(p.totals(), (0, 0, 0, 0))

            # The next start counts on from zero.
            p.start_meter()
            self.assertTrue(wait_for(lambda: p.saved_seconds() >= 1), "the meter did not tick")
            p.kill_meter()
            self.assertEqual(p.totals()[:3], (0, 0, 0))
            self.assertLess(p.saved_seconds(), 3600)
            self.assertIsNone(p.read_bytes("statistic.ini"))  # no period was closed

    def test_counter_reset_while_the_meter_runs_stays_reset(self):
        # The meter ticks on loopback with no tariff; its warnings have said
        # the money limit was reached. After the reset neither the totals nor
        # that warning come back, not even after a restart in the period.
        # (Wine's own processes may pass a few packets over loopback meanwhile.)
        options = {"Statistic": "4", "AutoFind": "24", "ShowBt": "0", "MoneyLimit": "100"}
        with vb.Program(options=options, tarif=None) as p:
            now = time.localtime()
            for name, value in (("InTall", "123456789"), ("OutTall", "4567"), ("denall", "120.5")):
                p.reg_set_sz(vb.TOTALS_KEY, name, value)
            for name, value in (("timeall", 3600), ("AlertMoney", 100), ("year", now.tm_year),
                                ("month", now.tm_mon), ("day", now.tm_mday)):
                p.reg_set_dword(vb.TOTALS_KEY, name, value)
            p.start_meter()
            self.assertTrue(wait_for(lambda: p.saved_seconds() > 3600), "the meter did not tick")

            proc = self.start(p)
            self.assertTrue(p.click(SETTINGS, ID["kIdReset"]))
            # Three of the meter's saves after the reset: its online seconds
            # start again from zero, and nothing else comes back.
            self.assertTrue(wait_for(lambda: 3 <= p.saved_seconds() < 3600), "the meter undid the reset")
            self.assert_reset(p)
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "AlertMoney"), ("REG_DWORD", "0"))
            p.click(SETTINGS, ID["kIdCancel"])
            self.assertTrue(p.wait_exit(20, proc))

            p.post(vb.TITLE, WM_CLOSE)
            self.assertTrue(p.wait_exit(20), "the meter did not close")
            p.start_meter()
            self.assertTrue(p.wait_ticks(3))
            self.assert_reset(p)
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "AlertMoney"), ("REG_DWORD", "0"))

    def assert_reset(self, p):
        in_, out, money, _ = p.totals()
        self.assertLess(max(in_, out), 4567, "the old totals came back")
        self.assertEqual(money, 0)

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
        pages = [ID[n] for n in ("kIdGeneralPage", "kIdLookPage", "kIdTariffsPage", "kIdTrafficPage")]
        for lang in ("ru_RU.UTF-8", "en_US.UTF-8"):
            with vb.Program(options={"Look": "Default", "denstr": "руб."}, lang=lang) as p:
                proc = self.start(p)
                texts = [r["text"] for r in p.window_texts(SETTINGS)]
                for page, items in expected.items():
                    for t in items:
                        self.assertIn(t, texts, "%s, page %d" % (lang, page))
                self.assertIn("ОК", texts)
                tab = p.control(SETTINGS, ID["kIdTab"])
                tag = lang.split("_")[0]
                # Tabs are clicked where a user clicks them.
                for page, x in enumerate((28, 92, 158, 233)):
                    p.xdotool("mousemove", str(tab["x"] + x), str(tab["y"] + 12), "click", "1")
                    self.assertTrue(wait_for(lambda: p.control(SETTINGS, pages[page])["visible"], 10),
                                    "page %d did not show" % page)
                    p.settled_screenshot(os.path.join(SHOTS, "settings-%s-page%d.png" % (tag, page + 1)))
                p.click(SETTINGS, ID["kIdCancel"])
                self.assertTrue(p.wait_exit(20, proc))


if __name__ == "__main__":
    unittest.main()
