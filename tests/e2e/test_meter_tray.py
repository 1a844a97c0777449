"""The meter is operated as a user would: right click on its tray icon opens
the popup menu, its items toggle the floating window and the topmost band,
open the About window and end the program, with the exit password asked by
the lock window; the floating window snaps to the screen's edges on a click.

Wine shows the notification area as its own "Wine System Tray" window at the
top left when no desktop runs; our icon is its first slot."""
import os
import subprocess
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

SHOTS = os.environ.get("VTC_SHOTS", "/tmp/shots")
BASE = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Default",
        "Left": "200", "Top": "300", "Visible": "1", "StayOnTop": "1"}
TARIFF = [("Весь день", {"st": "0", "et": "2359"})]

# Menu rows below the point where the menu opens (Wine's default menu font):
# 17-pixel items, 9-pixel separators.
ITEM_Y = {"О программе": 11, "Поверх остальных окон": 37, "Плавающее окно": 54, "Выход": 166}
LOCK = "Блокировка"
MENU_FLOATING_ID = 40100 + 3  # command id of "Плавающее окно"
MENU_SETTINGS_ID = 40100 + 9  # command id of "Настройки"
WM_QUERYENDSESSION = 0x0011
ABOUT = "О программе..."


def scramble(text, key=7):
    return "".join(chr(97 + b // key) + chr(65 + b % key) for b in text.encode("cp1251")).encode(
        "latin-1").decode("cp1251")


wait_for = vb.wait_for

def options(p):
    for section, keys in p.read_ini("options.ini"):
        if section.lower() == "options":
            return {k.lower(): v for k, v in keys}
    return {}


class TrayMenu:
    def __init__(self, p):
        self.p = p
        self.at = self.icon_point()

    def icon_point(self):
        ids = self.p.xdotool("search", "--name", "Wine System Tray").split()
        if not ids:
            return 13, 32
        geo = self.p.xdotool("getwindowgeometry", ids[0])
        pos = [l for l in geo.splitlines() if "Position:" in l][0].split()[1].split(",")
        return int(pos[0]) + 10, int(pos[1]) + 10

    def open(self, shot=None):
        x, y = self.at
        self.p.xdotool("mousemove", str(x), str(y), "click", "3")
        time.sleep(0.8)
        if shot:
            self.p.screenshot(os.path.join(SHOTS, shot))

    def choose(self, caption, shot=None):
        self.open(shot)
        x, y = self.at
        self.p.xdotool("mousemove", str(x + 50), str(y + ITEM_Y[caption]), "click", "1")
        time.sleep(0.6)

    def left_click(self):
        x, y = self.at
        self.p.xdotool("mousemove", str(x), str(y), "click", "1")
        time.sleep(0.6)


def type_into(p, title, control_id, text):
    box = [t for t in p.window_texts(title) if t["id"] == control_id][0]
    p.xdotool("mousemove", str(box["x"] + 10), str(box["y"] + box["h"] // 2), "click", "1")
    time.sleep(0.3)
    if text:
        p.xdotool("type", "--delay", "30", text)
    p.xdotool("key", "Return")
    time.sleep(0.6)


class MeterTray(unittest.TestCase):
    def test_menu_toggles_and_exit_saves_the_window_state(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            p.start_meter()
            time.sleep(1.5)
            p.screenshot(os.path.join(SHOTS, "meter_tray_floating_window.png"))
            menu = TrayMenu(p)
            self.assertTrue(p.window_visible(vb.TITLE))

            menu.choose("Плавающее окно", shot="meter_tray_menu_both_checked.png")
            self.assertTrue(wait_for(lambda: not p.window_visible(vb.TITLE), 5), "window still shown")
            menu.choose("Плавающее окно")
            self.assertTrue(wait_for(lambda: p.window_visible(vb.TITLE), 5), "window not shown again")
            # A left click on the icon toggles it as well.
            menu.left_click()
            self.assertTrue(wait_for(lambda: not p.window_visible(vb.TITLE), 5))

            menu.choose("Поверх остальных окон")
            menu.open(shot="meter_tray_menu_both_unchecked.png")
            p.xdotool("key", "Escape")
            time.sleep(0.5)

            menu.choose("Выход")
            self.assertTrue(p.wait_exit(15), "the meter did not end")
            o = options(p)
            self.assertEqual((o.get("left"), o.get("top"), o.get("visible"), o.get("stayontop")),
                             ("200", "300", "0", "0"))
            self.assertEqual(o.get("look"), "Default")  # other keys untouched

    def test_about_window_from_the_menu(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            p.start_meter()
            time.sleep(1.0)
            menu = TrayMenu(p)
            menu.choose("О программе")
            self.assertTrue(p.wait_window(ABOUT, 10, visible=True), "About window not shown")
            time.sleep(0.5)
            p.screenshot(os.path.join(SHOTS, "meter_tray_about_window.png"))
            texts = [t["text"] for t in p.window_texts(ABOUT)]
            for want in ("Varnok Traffic Counter", "версия: 4.7", "E-mail", "Сайт", "ICQ", "OK"):
                self.assertIn(want, texts)
            self.assertTrue(any(t.startswith("АВТОР: ") for t in texts), texts)
            p.post(ABOUT, vb.WM_CLOSE)  # refused
            time.sleep(0.5)
            self.assertTrue(p.window_visible(ABOUT))
            ok = [t for t in p.window_texts(ABOUT) if t["text"] == "OK"][0]
            p.xdotool("mousemove", str(ok["x"] + 20), str(ok["y"] + 8), "click", "1")
            self.assertTrue(p.wait_window(ABOUT, 5, visible=False), "OK did not hide the About window")
            # Without a window manager Wine waits a moment for a captioned
            # window to be withdrawn before it draws again.
            time.sleep(1.5)
            menu.choose("Выход")
            self.assertTrue(p.wait_exit(15), "the meter did not end after the About window")

    def test_exit_with_a_stored_password_asks_for_it(self):
        with vb.Program(options=dict(BASE, Left="120", Top="200"), tarif=TARIFF) as p:
            p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", scramble("Secret7"))
            p.start_meter()
            time.sleep(1.0)
            menu = TrayMenu(p)
            menu.choose("Выход")
            self.assertTrue(p.wait_window(LOCK, 10, visible=True), "lock window not shown")
            time.sleep(0.3)
            p.screenshot(os.path.join(SHOTS, "meter_tray_lock_window.png"))
            texts = [t["text"] for t in p.window_texts(LOCK)]
            self.assertIn("Введите пароль разблокировки", texts)
            self.assertIn("OK", texts)
            # The state is saved before the password is asked.
            self.assertEqual(options(p).get("left"), "120")
            p.post(LOCK, vb.WM_CLOSE)  # refused
            time.sleep(0.4)
            self.assertTrue(p.window_visible(LOCK))

            type_into(p, LOCK, 101, "secret7")  # wrong case
            self.assertTrue(p.wait_window(LOCK, 5, visible=False), "lock window stayed")
            time.sleep(1.5)
            self.assertTrue(p.meter_running(), "a wrong password ended the meter")

            # A close command sent to the window starts the exit again.
            p.post(vb.TITLE, vb.WM_CLOSE)
            self.assertTrue(p.wait_window(LOCK, 10, visible=True))
            type_into(p, LOCK, 101, "Secret7")
            self.assertTrue(p.wait_exit(15), "the right password did not end the meter")

    def test_end_of_session_saves_the_state_without_a_password(self):
        with vb.Program(options=dict(BASE, Left="150", Top="250"), tarif=TARIFF) as p:
            p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", scramble("Secret7"))
            p.start_meter()
            p.post(vb.TITLE, vb.WM_COMMAND, MENU_FLOATING_ID)  # hide the floating window
            self.assertTrue(wait_for(lambda: not p.window_visible(vb.TITLE), 5))
            p.post(vb.TITLE, WM_QUERYENDSESSION)
            self.assertTrue(wait_for(lambda: options(p).get("visible") == "0", 10), options(p))
            o = options(p)
            self.assertEqual((o.get("left"), o.get("top"), o.get("stayontop")), ("150", "250", "1"))
            time.sleep(0.5)
            self.assertFalse(p.window_visible(LOCK))
            self.assertTrue(p.meter_running())

    def test_settings_item_starts_the_settings_program_and_a_missing_one_is_ignored(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            p.start_meter()
            p.post(vb.TITLE, vb.WM_COMMAND, MENU_SETTINGS_ID)
            self.assertTrue(p.wait_window("Настройки", 20), "the settings program did not start")
            self.assertTrue(p.meter_running())
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            os.remove(p.path("qmeter_cfg.exe"))
            p.start_meter()
            p.post(vb.TITLE, vb.WM_COMMAND, MENU_SETTINGS_ID)
            time.sleep(2)
            self.assertTrue(p.meter_running())
            self.assertTrue(p.window_visible(vb.TITLE))

    def test_a_click_snaps_to_the_left_edge_within_40_pixels(self):
        for left, want in (("30", 0), ("40", 0), ("41", 41)):
            with vb.Program(options=dict(BASE, Left=left, Top="300"), tarif=TARIFF) as p:
                p.start_meter()
                time.sleep(1.0)
                r = p.window_rect(vb.TITLE)
                self.assertEqual(r[0], int(left))
                p.xdotool("mousemove", str(r[0] + 60), str(r[1] + 30), "click", "1")
                got = wait_for(lambda: p.window_rect(vb.TITLE)[0] == want and p.window_rect(vb.TITLE), 5)
                self.assertTrue(got, "left %s: window at %r" % (left, p.window_rect(vb.TITLE)))
                self.assertEqual(p.window_rect(vb.TITLE)[1], 300)

    def test_drag_moves_the_window_with_the_mouse(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            p.start_meter()
            time.sleep(1.0)
            r = p.window_rect(vb.TITLE)
            x, y = r[0] + 60, r[1] + 30
            p.xdotool("mousemove", str(x), str(y), "mousedown", "1")
            for step in range(1, 11):
                p.xdotool("mousemove", str(x + 15 * step), str(y + 10 * step))
                time.sleep(0.05)
            p.xdotool("mouseup", "1")
            got = wait_for(lambda: p.window_rect(vb.TITLE)[:2] == (r[0] + 150, r[1] + 100), 5)
            self.assertTrue(got, "window at %r after dragging from %r" % (p.window_rect(vb.TITLE), r))

    def test_online_balloon_is_shown(self):
        opts = dict(BASE, ShowBt="1", Interface="MS TCP Loopback interface")
        with vb.Program(options=opts, tarif=TARIFF) as p:
            p.start_meter()
            time.sleep(4.5)  # the notification area shows balloons after two seconds
            p.screenshot(os.path.join(SHOTS, "meter_tray_balloon_online.png"))
            self.assertTrue(p.meter_running())

    def test_auto_close_shows_the_hidden_window_when_the_line_comes_up(self):
        """The measured interface appears while the meter runs, as a modem
        connection does: a veth pair added in the test's namespace. (Wine's
        interface table never drops a row once seen, so the way back to
        offline cannot be played here.)"""
        for auto_close, name in (("1", "vac"), ("0", "vbc")):
            with self.subTest(AutoClose=auto_close):
                opts = dict(BASE, ShowBt="1", AutoClose=auto_close, AutoFind="23", Interface=name,
                            Visible="0")
                with vb.Program(options=opts, tarif=TARIFF) as p:
                    p.start_meter()
                    time.sleep(3)
                    self.assertEqual(p.probe("find", vb.TITLE)[1].strip(), "0", "hidden while offline")
                    subprocess.run(["ip", "link", "add", "name", name, "type", "veth", "peer", "name", name + "x"],
                                   check=True)
                    self.addCleanup(subprocess.run, ["ip", "link", "del", "dev", name],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    shown = p.wait_window(vb.TITLE, 8, visible=True)
                    if auto_close == "1":
                        self.assertTrue(shown, "the online transition shows the window")
                        time.sleep(2.5)  # the online balloon comes two seconds later
                        p.screenshot(os.path.join(SHOTS, "meter_tray_autoclose_online.png"))
                    else:
                        self.assertFalse(shown, "without AutoClose the window stays as the user left it")
                    self.assertTrue(p.meter_running())


if __name__ == "__main__":
    unittest.main()
