"""Program folders named in any language, under a system code page that holds
the name and under one that cannot: the meter reads options.ini and tarif.ini
and writes statistic.ini there. From the last folder the meter starts the
settings program, which saves options, a tariff and the autorun entry there,
and the autorun entry starts the meter from that folder again."""
import os
import unittest

import vtcbench as vb

vb.enter_namespace()

wait_for = vb.wait_for

SETTINGS = "Настройки"
NOTICE = "Чтобы изменения вступили в силу необходимо перезагрузить программу."
AUTORUN = "Автозагрузка вместе с Windows"
MENU_SETTINGS_ID = vb.menu_id(vb.menu_position("kMenuSettings"))  # "Настройки" in the meter's menu
BN_CLICKED = 0
BM_SETCHECK = 0x00F1
SHOTS = "/tmp/shots"

# Folder name, locale (Wine's system code page follows it: ru_RU 1251, en_US 1252).
CASES = [
    ("Счётчик трафика", "ru_RU.UTF-8"),
    ("Zähler Müller", "en_US.UTF-8"),     # 1252 holds the name, 1251 does not
    ("Счётчик Иван", "en_US.UTF-8"),      # the system code page cannot hold it
]

OPTIONS = {"Left": "37", "Top": "41", "Interface": "lo", "AutoFind": "0", "Statistic": "0", "statkol": "10",
           "ShowBt": "0", "StayOnTop": "0", "AlphaBlend": "255"}
# Priced by the second, every day: money shows that the tariff was read.
TARIF = [("Повремённый", dict([("st", "0"), ("et", "2359"), ("costt", "1")] +
                              [(str(d), "1") for d in range(1, 8)]))]


def sections(p, name):
    return [s for s, _ in p.read_ini(name)]


def control(p, title, cls, text):
    """Index of a child control as the probe lists them, found by its caption."""
    for i, r in enumerate(p.window_texts(title)):
        if r["cls"].lower() == cls.lower() and r["text"] == text:
            return str(i)
    raise AssertionError("no %s %r in %s" % (cls, text, title))


class ProgramFolders(unittest.TestCase):
    def test_every_file_is_found_in_a_folder_of_any_name(self):
        for folder, lang in CASES:
            with self.subTest(folder=folder, lang=lang), \
                    vb.Program(options=OPTIONS, tarif=TARIF, folder=folder, lang=lang) as p:
                p.start_meter()
                self.assertTrue(wait_for(lambda: sections(p, "statistic.ini") == ["Первая Сессия"]),
                                "statistic.ini not written")
                self.assertTrue(wait_for(lambda: (p.window_rect(vb.TITLE) or ())[:2] == (37, 41)),
                                "options.ini not read: the window is at %r" % (p.window_rect(vb.TITLE),))
                self.assertTrue(wait_for(lambda: (p.totals()[2] or 0) >= 1), "tarif.ini not read")
                if folder == CASES[-1][0]:
                    p.screenshot(os.path.join(SHOTS, "folders-meter.png"))
                    self.settings_save_here(p)

    def settings_save_here(self, p):
        p.post(vb.TITLE, vb.WM_COMMAND, MENU_SETTINGS_ID)
        self.assertTrue(p.wait_window(SETTINGS, 30, visible=True), "the meter did not start the settings program")
        add = control(p, SETTINGS, "Button", "Добавить")
        self.assertEqual(p.probe("child-command", SETTINGS, add, str(BN_CLICKED))[0], 0)
        # The editor writes a new tariff at once, its name in 1251 whatever the system code page.
        section = "[Новый тариф №0]".encode("cp1251")
        self.assertTrue(wait_for(lambda: section in (p.read_bytes("tarif.ini") or b"")), "the tariff was not saved")
        self.assertEqual(sections(p, "tarif.ini"), ["Повремённый", "Новый тариф №0"])
        autorun = control(p, SETTINGS, "Button", AUTORUN)
        self.assertEqual(p.probe("child-post", SETTINGS, autorun, str(BM_SETCHECK), "1", "0")[0], 0)
        ok = control(p, SETTINGS, "Button", "ОК")
        self.assertEqual(p.probe("child-command", SETTINGS, ok, str(BN_CLICKED))[0], 0)
        self.assertTrue(wait_for(lambda: NOTICE in [r["text"] for r in p.window_texts(SETTINGS)]),
                        "no restart notice")
        p.post(SETTINGS, vb.WM_COMMAND, 1)
        self.assertTrue(wait_for(lambda: not p.window_exists(SETTINGS)), "the settings program did not end")

        options = dict(p.read_ini("options.ini")[0][1])
        self.assertEqual((options.get("Left"), options.get("AlphaBlend"), options.get("AutoUpdate")),
                         ("37", "255", "0"), "options not saved")
        code, out = p.probe("reg-get-path", vb.RUN_KEY, "Varnok Traffic Counter")
        target = out.strip()
        self.assertEqual((code, target.lower()), (0, p.win_path("qmeter4.exe").lower()))

        # The autorun entry, started as the shell starts it, runs the meter of
        # this folder: its start closes this run's session into the same file.
        p.kill_meter()
        self.assertTrue(wait_for(lambda: not p.window_exists(vb.TITLE)))
        self.assertEqual(p.probe("run", target)[0], 0)
        self.assertTrue(p.wait_window(vb.TITLE, 30), "the autorun entry did not start the meter")
        self.assertTrue(wait_for(lambda: len(sections(p, "statistic.ini")) == 2),
                        "the meter started by autorun did not use its folder: %r" % sections(p, "statistic.ini"))


if __name__ == "__main__":
    unittest.main()
