"""The Windows installer: an unattended install into a fresh prefix gives a
meter that counts, and the uninstaller removes the program but keeps the
user's own data unless asked."""
import glob
import os
import unittest

import vtcbench as vb

vb.enter_namespace()

SETUP = glob.glob(os.path.join(vb.BUILD, "dist", "VarnokTrafficCounter-*-setup.exe"))


def installed_dir(p):
    found = glob.glob(os.path.join(p.prefix, "drive_c", "users", "*", "AppData", "Local", "Programs",
                                   "Varnok Traffic Counter"))
    return found[0] if found else None


@unittest.skipUnless(SETUP, "make dist builds the installer")
class Installer(unittest.TestCase):
    def test_install_count_uninstall(self):
        with vb.Program() as p:
            # The loopback row (type 24) stands for the user's link here.
            code, _ = p.wine(SETUP[0], "/S", "/AUTOFIND=24", timeout=120)
            self.assertEqual(code, 0)
            inst = installed_dir(p)
            self.assertIsNotNone(inst, "nothing was installed")
            for name in ("qmeter4.exe", "qmeter_cfg.exe", "options.ini", "tarif.ini", "uninstall.exe",
                         os.path.join("Look", "Default", "main.bmp"), os.path.join("Look", "online.ico")):
                self.assertTrue(os.path.exists(os.path.join(inst, name)), name)
            options = vb.parse_ini(open(os.path.join(inst, "options.ini"), "rb").read())
            self.assertIn(("AutoFind", "24"), options[0][1])
            self.assertIn(("Look", "Default"), options[0][1])
            menu = glob.glob(os.path.join(p.prefix, "drive_c", "users", "*", "AppData", "Roaming", "Microsoft",
                                          "Windows", "Start Menu", "Programs", "Varnok Traffic Counter", "*.lnk"))
            self.assertEqual(len(menu), 2)

            # The installed meter starts with the shipped files and counts.
            p.dir = inst
            p.start_meter()
            self.assertTrue(p.wait_ticks(1), "the installed meter does not count")
            rx0, _ = vb.netdev("lo")
            in0 = p.totals()[0] or 0
            vb.send_loopback(3_000_000)
            rx1, _ = vb.netdev("lo")
            vb.wait_for(lambda: p.totals()[0] - in0 >= rx1 - rx0)
            self.assertTrue(p.wait_ticks(1))
            in1 = p.totals()[0]
            self.assertEqual(in1 - in0, rx1 - rx0)
            p.screenshot("/tmp/shots/installed-default-skin.png")
            # No "no tariff" report: the sample tariff is in force.
            self.assertFalse(os.path.exists(os.path.join(inst, "bug.txt")))
            p.kill_meter()

            with open(os.path.join(inst, "statistic.ini"), "wb") as f:
                f.write(b"[x]\r\nInTall=1\r\n")
            code, _ = p.wine(os.path.join(inst, "uninstall.exe"), "/S", timeout=120)
            self.assertEqual(code, 0)
            # The uninstaller runs on from a copy of itself; wait for its last removal.
            removed = ("qmeter4.exe", "qmeter_cfg.exe", "Look", "uninstall.exe")
            vb.wait_for(lambda: not any(os.path.exists(os.path.join(inst, n)) for n in removed), 60)
            for name in removed:
                self.assertFalse(os.path.exists(os.path.join(inst, name)), name)
            # Unattended: the user's own data stays.
            self.assertTrue(os.path.exists(os.path.join(inst, "statistic.ini")))
            self.assertIsNotNone(p.reg_get(vb.TOTALS_KEY, "InTall"))
            self.assertEqual(menu[0] and os.path.exists(menu[0]), False)


if __name__ == "__main__":
    unittest.main()
