"""The page "Роутер" of the settings program against a router of the test's
own (snmpd and miniupnpd in a second namespace, the default gateway of this
one): UPnP discovery names the router, the SNMP list shows a counter growing
while traffic flows, a wrong community gets its plain message, and "ОК"
writes the four keys."""
import os
import re
import socket
import subprocess
import tempfile
import unittest

import vtcbench as vb
from routerlab import Namespace, link, start_miniupnpd, start_snmpd

vb.enter_namespace()

SETTINGS = "Настройки"
NOTICE_TITLE = SETTINGS
SHOTS = "/tmp/shots"
ID = vb.ids()
ROUTER_LAN, PC_LAN, ROUTER_WAN = "198.18.0.1", "198.18.0.2", "198.19.0.2"
CB_SETCURSEL, LB_GETCURSEL, LB_GETTOPINDEX, LB_GETITEMHEIGHT = 0x014E, 0x0188, 0x018E, 0x01A1
CBN_SELCHANGE = 1
UNITS = {"": 1, "K": 1 << 10, "M": 1 << 20, "G": 1 << 30, "T": 1 << 40}
wait_for = vb.wait_for


def received(row):
    """The received bytes a row of the list shows (to the precision shown)."""
    m = re.search(r"получено ([\d.]+)([KMGT]?)b", row)
    return float(m.group(1)) * UNITS[m.group(2)] if m else None


class RouterPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.router = r = Namespace()
        cls.tmp = tempfile.mkdtemp(prefix="vtc-routerpage-")
        subprocess.run(["ip", "link", "add", "lan1", "type", "veth", "peer", "name", "lan0",
                        "netns", str(r.pid)], check=True)
        r.run("ip", "link", "add", "wan0", "type", "veth", "peer", "name", "wan1")
        r.run("ip", "link", "set", "lo", "up")
        r.run("ip", "link", "set", "wan1", "up")
        link(r, "lan0", ROUTER_LAN, "pc", "lan1", PC_LAN)
        link(r, "wan0", ROUTER_WAN)
        subprocess.run(["ip", "route", "add", "239.255.255.250/32", "dev", "lan1"], check=True)
        subprocess.run(["ip", "route", "add", "default", "via", ROUTER_LAN], check=True)
        cls.daemon, cls.log = start_miniupnpd(r, cls.tmp, ROUTER_LAN)
        cls.agent = start_snmpd(r, cls.tmp, ROUTER_LAN)

    @classmethod
    def tearDownClass(cls):
        for proc in (cls.daemon, cls.agent):
            proc.terminate()
            proc.wait(10)
        cls.log.close()
        cls.router.close()

    def open_page(self, p):
        proc = p.start_settings()
        self.assertTrue(p.wait_window(SETTINGS, 30, visible=True), "the settings window did not show")
        tab = p.control(SETTINGS, ID["kIdTab"])
        p.xdotool("mousemove", str(tab["x"] + 28), str(tab["y"] + 12), "click", "1")
        for _ in range(6):
            if wait_for(lambda: p.control(SETTINGS, ID["kIdRouterPage"])["visible"], 2, 0.1):
                break
            p.xdotool("key", "Right")
        self.assertTrue(p.control(SETTINGS, ID["kIdRouterPage"])["visible"], "the page did not show")
        return proc

    def text(self, p, name):
        return p.control_text(SETTINGS, ID[name]) or ""

    def click_row(self, p, index):
        """A click on the list's row, as a user picks it."""
        box = p.control(SETTINGS, ID["kIdRouterRows"])
        height = p.send_control(SETTINGS, ID["kIdRouterRows"], LB_GETITEMHEIGHT)
        top = p.send_control(SETTINGS, ID["kIdRouterRows"], LB_GETTOPINDEX)
        y = box["y"] + 2 + (index - top) * height + height // 2
        p.xdotool("mousemove", str(box["x"] + 40), str(y), "click", "1")

    def test_finds_lists_checks_and_saves(self):
        for lang in ("ru_RU.UTF-8", "en_US.UTF-8"):
            with self.subTest(lang=lang), vb.Program(options={"Source": "1"}, lang=lang) as p:
                self.drive(p, lang.split("_")[0], full=lang.startswith("ru"))

    def drive(self, p, tag, full):
        proc = self.open_page(p)
        # UPnP: found by discovery, named by its friendlyName.
        p.click(SETTINGS, ID["kIdFindRouter"])
        self.assertTrue(wait_for(lambda: "Varnok Test Gateway" in self.text(p, "kIdRouterName"), 15),
                        self.text(p, "kIdRouterName"))
        self.assertIn(ROUTER_LAN, self.text(p, "kIdRouterName"))
        self.assertTrue(p.control(SETTINGS, ID["kIdRouterSourceNote"])["visible"])

        # SNMP at the default gateway: its sysDescr, and its interfaces once a second.
        p.send_control(SETTINGS, ID["kIdSource"], CB_SETCURSEL, 2)
        p.notify(SETTINGS, ID["kIdSource"], CBN_SELCHANGE)
        p.click(SETTINGS, ID["kIdFindRouter"])
        self.assertTrue(wait_for(lambda: "Linux" in self.text(p, "kIdRouterName"), 15),
                        self.text(p, "kIdRouterName"))

        def lan0():
            return next((r for r in p.items(SETTINGS, ID["kIdRouterRows"]) if r.startswith("lan0 ")), None)
        self.assertTrue(wait_for(lan0, 15), p.items(SETTINGS, ID["kIdRouterRows"]))
        self.assertIn("работает", lan0())
        before = received(lan0())
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
            for _ in range(3000):
                s.sendto(b"x" * 1000, (ROUTER_LAN, 9))
        # snmpd caches its table for a few seconds; the list follows by itself.
        self.assertTrue(wait_for(lambda: received(lan0()) >= before + 2.5 * (1 << 20), 30),
                        (before, lan0()))
        if full:
            # Picked with the mouse while the list is filled anew each second,
            # and still picked after a few fillings.
            index = p.items(SETTINGS, ID["kIdRouterRows"]).index(lan0())
            self.click_row(p, index)
            self.assertTrue(wait_for(lambda: self.text(p, "kIdWan") == "lan0", 5), self.text(p, "kIdWan"))
            shown = received(lan0())
            self.assertTrue(wait_for(lambda: received(lan0()) != shown, 15))
            self.assertEqual(p.send_control(SETTINGS, ID["kIdRouterRows"], LB_GETCURSEL), index)
            p.click(SETTINGS, ID["kIdCheckRouter"])
            self.assertTrue(wait_for(lambda: "«lan0» работает" in self.text(p, "kIdCheckResult"), 10),
                            self.text(p, "kIdCheckResult"))
            # A wrong community: the agent stays silent.
            p.set_text(SETTINGS, ID["kIdCommunity"], "wrong")
            p.click(SETTINGS, ID["kIdCheckRouter"])
            self.assertTrue(wait_for(lambda: "не ответил" in self.text(p, "kIdCheckResult"), 10),
                            self.text(p, "kIdCheckResult"))
            self.assertIn("сообщество (community)", self.text(p, "kIdCheckResult"))
            # Nor do the once-a-second walks: counters that stood still would lie.
            self.assertTrue(wait_for(lambda: not p.items(SETTINGS, ID["kIdRouterRows"]), 10))
        p.settled_screenshot(os.path.join(SHOTS, "settings-%s-router.png" % tag))
        if not full:
            p.click(SETTINGS, ID["kIdCancel"])
            self.assertTrue(p.wait_exit(20, proc))
            return
        p.set_text(SETTINGS, ID["kIdCommunity"], "домашняя")
        p.click(SETTINGS, ID["kIdOk"], wait=False)  # the notice holds the handler
        self.assertTrue(wait_for(lambda: p.probe("msgbox", SETTINGS)[0] == 0), "no restart notice")
        p.probe("msgbox", SETTINGS, "ok")
        self.assertTrue(p.wait_exit(20, proc))
        options = dict(next(s for n, s in p.read_ini("options.ini") if n == "Options"))
        self.assertEqual((options.get("Source"), options.get("Router"), options.get("RouterCommunity"),
                          options.get("RouterInterface")), ("2", "", "домашняя", "lan0"))


if __name__ == "__main__":
    unittest.main()
