"""The meter is operated as a user would: right click on its tray icon opens
the popup menu, its items toggle the floating window and the topmost band,
open the About window and end the program, with the exit password asked by
the lock window; the floating window snaps to the screen's edges on a click.

Wine shows the notification area as its own "Wine System Tray" window at the
top left when no desktop runs; our icon is its first slot. Another process
cannot read a menu's items under Wine, so the menu is looked at once, on the
screen, and its items are chosen by their commands, as the menu itself does."""
import os
import subprocess
import unittest

import vtcbench as vb

vb.enter_namespace()

SHOTS = os.environ.get("VTC_SHOTS", "/tmp/shots")
BASE = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Default",
        "Left": "200", "Top": "300", "Visible": "1", "StayOnTop": "1"}
TARIFF = [("Весь день", {"st": "0", "et": "2359"})]

LOCK = "Блокировка"
LOCK_FIELD = 101
WM_NULL = 0x0000
WM_QUERYENDSESSION = 0x0011
ABOUT = "О программе..."
STATS = "Статистика"


wait_for = vb.wait_for


def options(p):
    for section, keys in p.read_ini("options.ini"):
        if section.lower() == "options":
            return {k.lower(): v for k, v in keys}
    return {}


def tray_icon(p):
    """Where a user clicks our icon: the first slot of Wine's tray window, once it is shown."""
    ids = p.xdotool("search", "--onlyvisible", "--name", "Wine System Tray").split()
    if not ids:
        return None
    geo = p.xdotool("getwindowgeometry", ids[0])
    pos = [l for l in geo.splitlines() if "Position:" in l][0].split()[1].split(",")
    return int(pos[0]) + 10, int(pos[1]) + 10


def mapped(p, title):
    """The window is on the X screen, where the mouse can reach it."""
    return bool(p.xdotool("search", "--onlyvisible", "--name", "^%s$" % title).split())


def start(p, on_screen=False):
    """Starts the meter and returns once its start-up is over (the statistics
    window is built last), so that a menu command finds every window built;
    on_screen: also once the floating window is where the mouse can reach it."""
    p.start_meter()
    assert p.wait_window(STATS, 30), "the meter's start-up did not end"
    assert not on_screen or wait_for(lambda: mapped(p, vb.TITLE)), "the floating window is not on the screen"


def type_into(p, title, control_id, text):
    """Clicks into the field and types, as a user does, then presses Enter."""
    box = p.control(title, control_id)
    p.xdotool("mousemove", str(box["x"] + 10), str(box["y"] + box["h"] // 2), "click", "1")
    if text:
        p.xdotool("type", "--delay", "30", text)
    assert wait_for(lambda: p.control_text(title, control_id) == text, 10), "typing did not reach the field"
    p.xdotool("key", "Return")


class MeterTray(unittest.TestCase):
    def test_tray_icon_menu_and_items_and_exit_saves_the_window_state(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            start(p, on_screen=True)
            icon = wait_for(lambda: tray_icon(p))
            self.assertTrue(icon, "no tray icon")
            x, y = icon
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_floating_window.png"))

            # The one real right click: the menu opens where the user clicked.
            p.xdotool("mousemove", str(x), str(y), "click", "3")
            self.assertTrue(wait_for(p.menu_shown, 10), "no menu after a right click on the icon")
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_menu_both_checked.png"))
            p.xdotool("key", "Escape")
            self.assertTrue(wait_for(lambda: not p.menu_shown(), 10), "Escape did not close the menu")

            # A left click on the icon toggles the window, and so does the item.
            p.xdotool("mousemove", str(x), str(y), "click", "1")
            self.assertTrue(wait_for(lambda: not p.window_visible(vb.TITLE), 10), "left click did not hide")
            self.assertTrue(p.menu_command("kMenuFloating"))
            self.assertTrue(p.window_visible(vb.TITLE), "the item did not show the window again")
            self.assertTrue(p.menu_command("kMenuFloating"))
            self.assertFalse(p.window_visible(vb.TITLE), "the item did not hide the window")
            self.assertTrue(p.menu_command("kMenuStayOnTop"))

            p.xdotool("mousemove", str(x), str(y), "click", "3")
            self.assertTrue(wait_for(p.menu_shown, 10))
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_menu_both_unchecked.png"))
            p.xdotool("key", "Escape")
            self.assertTrue(wait_for(lambda: not p.menu_shown(), 10))

            p.menu_command("kMenuExit")
            self.assertTrue(p.wait_exit(15), "the meter did not end")
            o = options(p)
            self.assertEqual((o.get("left"), o.get("top"), o.get("visible"), o.get("stayontop")),
                             ("200", "300", "0", "0"))
            self.assertEqual(o.get("look"), "Default")  # other keys untouched

    def test_about_window_from_the_menu(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            start(p)
            self.assertTrue(p.menu_command("kMenuAbout"))
            self.assertTrue(p.wait_window(ABOUT, 10, visible=True), "About window not shown")
            self.assertTrue(wait_for(lambda: mapped(p, ABOUT)))
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_about_window.png"))
            texts = [t["text"] for t in p.window_texts(ABOUT)]
            for want in ("Varnok Traffic Counter", "версия: 4.7", "E-mail", "Сайт", "ICQ", "OK"):
                self.assertIn(want, texts)
            self.assertTrue(any(t.startswith("АВТОР: ") for t in texts), texts)
            self.assertTrue(p.send(ABOUT, vb.WM_CLOSE))
            self.assertTrue(p.window_visible(ABOUT), "a close request hid the About window")
            ok = [t for t in p.window_texts(ABOUT) if t["text"] == "OK"][0]
            p.xdotool("mousemove", str(ok["x"] + 20), str(ok["y"] + 8), "click", "1")
            self.assertTrue(p.wait_window(ABOUT, 5, visible=False), "OK did not hide the About window")
            p.menu_command("kMenuExit")
            self.assertTrue(p.wait_exit(15), "the meter did not end after the About window")

    def test_exit_with_a_stored_password_asks_for_it(self):
        with vb.Program(options=dict(BASE, Left="120", Top="200"), tarif=TARIFF) as p:
            p.store_password("Secret7")
            start(p)
            self.assertTrue(p.menu_command("kMenuExit"))
            self.assertTrue(p.wait_window(LOCK, 10, visible=True), "lock window not shown")
            self.assertTrue(wait_for(lambda: mapped(p, LOCK)))
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_lock_window.png"))
            texts = [t["text"] for t in p.window_texts(LOCK)]
            self.assertIn("Введите пароль разблокировки", texts)
            self.assertIn("OK", texts)
            # The state is saved before the password is asked.
            self.assertEqual(options(p).get("left"), "120")

            type_into(p, LOCK, LOCK_FIELD, "secret7")  # wrong case
            self.assertTrue(p.wait_window(LOCK, 5, visible=False), "lock window stayed")
            self.assertTrue(p.send(vb.TITLE, WM_NULL), "a wrong password ended the meter")

            # A close command sent to the window starts the exit again, with an empty box.
            p.post(vb.TITLE, vb.WM_CLOSE)
            self.assertTrue(p.wait_window(LOCK, 10, visible=True))
            self.assertEqual(p.control_text(LOCK, LOCK_FIELD), "")
            type_into(p, LOCK, LOCK_FIELD, "Secret7")
            self.assertTrue(p.wait_exit(15), "the right password did not end the meter")

    def test_end_of_session_saves_the_state_without_a_password(self):
        with vb.Program(options=dict(BASE, Left="150", Top="250"), tarif=TARIFF) as p:
            p.store_password("Secret7")
            start(p)
            self.assertTrue(p.menu_command("kMenuFloating"))  # hide the floating window
            self.assertFalse(p.window_visible(vb.TITLE))
            self.assertTrue(p.send(vb.TITLE, WM_QUERYENDSESSION))
            o = options(p)
            self.assertEqual((o.get("left"), o.get("top"), o.get("visible"), o.get("stayontop")),
                             ("150", "250", "0", "1"))
            self.assertFalse(p.window_visible(LOCK))
            self.assertTrue(p.meter_running())

    def test_settings_item_starts_the_settings_program_and_a_missing_one_is_ignored(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            start(p)
            self.assertTrue(p.menu_command("kMenuSettings"))
            self.assertTrue(p.wait_window("Настройки", 20), "the settings program did not start")
            self.assertTrue(p.meter_running())
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            os.remove(p.path("qmeter_cfg.exe"))
            start(p)
            self.assertTrue(p.menu_command("kMenuSettings"), "the meter did not survive the item")
            self.assertTrue(p.meter_running())
            self.assertTrue(p.window_visible(vb.TITLE))

    def test_a_click_snaps_to_the_left_edge_within_40_pixels(self):
        for left, want in (("30", 0), ("40", 0), ("41", 41)):
            with vb.Program(options=dict(BASE, Left=left, Top="300"), tarif=TARIFF) as p:
                start(p, on_screen=True)
                r = p.window_rect(vb.TITLE)
                self.assertEqual(r[0], int(left))
                p.xdotool("mousemove", str(r[0] + 60), str(r[1] + 30), "click", "1")
                # Input is handled in order: once a right click has opened the
                # menu, the left click before it has been handled too.
                p.xdotool("click", "3")
                self.assertTrue(wait_for(p.menu_shown, 10), "no menu after a right click on the window")
                p.xdotool("key", "Escape")
                self.assertTrue(wait_for(lambda: not p.menu_shown(), 10))
                self.assertEqual(p.window_rect(vb.TITLE)[:2], (want, 300), "left %s" % left)

    def test_drag_moves_the_window_with_the_mouse(self):
        with vb.Program(options=BASE, tarif=TARIFF) as p:
            start(p, on_screen=True)
            r = p.window_rect(vb.TITLE)
            x, y = r[0] + 60, r[1] + 30
            p.xdotool("mousemove", str(x), str(y), "mousedown", "1")
            self.assertTrue(wait_for(lambda: p.moving(vb.TITLE), 10), "pressing the button did not start a move")
            for step in range(1, 11):
                p.xdotool("mousemove", str(x + 15 * step), str(y + 10 * step))
            self.assertTrue(wait_for(lambda: p.window_rect(vb.TITLE)[:2] == (r[0] + 150, r[1] + 100), 10),
                            "window at %r while dragging from %r" % (p.window_rect(vb.TITLE), r))
            p.xdotool("mouseup", "1")
            self.assertTrue(wait_for(lambda: not p.moving(vb.TITLE), 10), "releasing the button did not end the move")
            self.assertEqual(p.window_rect(vb.TITLE)[:2], (r[0] + 150, r[1] + 100))

    def test_online_balloon_is_shown(self):
        opts = dict(BASE, ShowBt="1", Interface="MS TCP Loopback interface")
        with vb.Program(options=opts, tarif=TARIFF) as p:
            p.start_meter()
            # The notification area draws balloons as tooltip windows, about two seconds after the request.
            shown = wait_for(lambda: [b for b in balloons(p) if "Онлайн" in b], 20)
            self.assertTrue(shown, "no online balloon")
            p.settled_screenshot(os.path.join(SHOTS, "meter_tray_balloon_online.png"))
            self.assertTrue(p.meter_running())

    def test_auto_close_shows_the_hidden_window_when_the_line_comes_up(self):
        """The measured interface appears while the meter runs, as a modem
        connection does: a veth pair added in the test's namespace and
        brought up. Taken down again (a cable pulled: Wine keeps the row),
        it is offline: the window follows and the online time stops."""
        for auto_close, name in (("1", "vac"), ("0", "vbc")):
            with self.subTest(AutoClose=auto_close):
                opts = dict(BASE, ShowBt="1", AutoClose=auto_close, AutoFind="23", Interface=name,
                            Visible="0")
                with vb.Program(options=opts, tarif=TARIFF) as p:
                    p.start_meter(wait=False)
                    # The statistics window is built last at start-up.
                    self.assertTrue(p.wait_window(STATS, 30), "the meter did not start")
                    self.assertFalse(p.window_visible(vb.TITLE), "shown while offline")
                    subprocess.run(["ip", "link", "add", "name", name, "type", "veth", "peer", "name", name + "x"],
                                   check=True)
                    self.addCleanup(subprocess.run, ["ip", "link", "del", "dev", name],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    for end in (name, name + "x"):
                        subprocess.run(["ip", "link", "set", end, "up"], check=True)
                    # The tick that finds the line online counts its first second.
                    self.assertTrue(wait_for(lambda: p.saved_seconds() >= 1, 20), "the line never came online")
                    if auto_close == "1":
                        self.assertTrue(p.window_visible(vb.TITLE), "the online transition shows the window")
                        self.assertTrue(wait_for(lambda: [b for b in balloons(p) if name in b], 10))
                        p.settled_screenshot(os.path.join(SHOTS, "meter_tray_autoclose_online.png"))
                        subprocess.run(["ip", "link", "set", name, "down"], check=True)
                        self.assertTrue(wait_for(lambda: not p.window_visible(vb.TITLE), 10),
                                        "the window stayed up with the link down")
                        down_at = p.saved_seconds()
                        self.assertFalse(wait_for(lambda: p.saved_seconds() > down_at, 3),
                                         "online time counted while the link was down")
                    else:
                        self.assertFalse(p.window_visible(vb.TITLE),
                                         "without AutoClose the window stays as the user left it")
                    self.assertTrue(p.meter_running())


def balloons(p):
    code, out = p.probe("tooltips")
    return [l for l in out.splitlines() if l.strip()] if code == 0 else []


if __name__ == "__main__":
    unittest.main()
