"""The Windows installer: an unattended install into a fresh prefix gives a
meter that counts; a reinstall keeps the user's own settings and tariffs,
the measured link included; a link type it does not know is refused without
a change; the uninstaller removes the program but keeps the user's own data
unless asked."""
import glob
import os
import re
import unittest

import vtcbench as vb

vb.enter_namespace()

SETUP = glob.glob(os.path.join(vb.BUILD, "dist", "VarnokTrafficCounter-*-setup.exe"))


def installed_dir(p):
    found = glob.glob(os.path.join(p.prefix, "drive_c", "users", "*", "AppData", "Local", "Programs",
                                   "Varnok Traffic Counter"))
    return found[0] if found else None


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


@unittest.skipUnless(SETUP, "make dist builds the installer")
class Installer(unittest.TestCase):
    def test_install_reinstall_refuse_count_uninstall(self):
        with vb.Program() as p:
            code, _ = p.wine(SETUP[0], "/S", "/AUTOFIND=71", timeout=120)
            self.assertEqual(code, 0)
            inst = installed_dir(p)
            self.assertIsNotNone(inst, "nothing was installed")
            for name in ("qmeter4.exe", "qmeter_cfg.exe", "options.ini", "tarif.ini", "uninstall.exe",
                         "miniupnpc-LICENSE.txt",
                         os.path.join("Look", "Default", "main.bmp"), os.path.join("Look", "online.ico")):
                self.assertTrue(os.path.exists(os.path.join(inst, name)), name)
            options_path = os.path.join(inst, "options.ini")
            tarif_path = os.path.join(inst, "tarif.ini")
            options = dict(vb.parse_ini(read(options_path))[0][1])
            self.assertEqual((options["AutoFind"], options["Look"]), ("71", "Default"))
            menu = glob.glob(os.path.join(p.prefix, "drive_c", "users", "*", "AppData", "Roaming", "Microsoft",
                                          "Windows", "Start Menu", "Programs", "Varnok Traffic Counter", "*.lnk"))
            self.assertEqual(len(menu), 2)
            # The setup's version (from the build) is the one it registers.
            version = re.search(r"VarnokTrafficCounter-(.+)-setup\.exe$", SETUP[0]).group(1)
            _, out = p.wine("reg", "query", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                            "VarnokTrafficCounter", "/v", "DisplayVersion")
            self.assertRegex(out, r"DisplayVersion\s+REG_SZ\s+%s\s" % re.escape(version))

            # The user picks another skin and changes a tariff's price.
            mine_options = read(options_path).replace(b"Look=Default", b"Look=Strip")
            mine_tarif = re.sub(rb"\nint=[^\r\n]*", b"\nint=0.000001", read(tarif_path), count=1)
            self.assertNotEqual(mine_tarif, read(tarif_path))
            write(options_path, mine_options)
            write(tarif_path, mine_tarif)
            # A program file gone missing: an install puts it back, a refused one does not.
            settings_exe = os.path.join(inst, "qmeter_cfg.exe")
            os.remove(settings_exe)

            # A link type the setup does not offer: refused, nothing touched.
            code, _ = p.wine(SETUP[0], "/S", "/AUTOFIND=24", timeout=120)
            self.assertNotEqual(code, 0)
            self.assertFalse(os.path.exists(settings_exe))
            self.assertEqual(read(options_path), mine_options)
            self.assertEqual(read(tarif_path), mine_tarif)

            # A plain reinstall keeps both files byte for byte: link, skin and tariff.
            code, _ = p.wine(SETUP[0], "/S", timeout=120)
            self.assertEqual(code, 0)
            self.assertTrue(os.path.exists(settings_exe))
            self.assertEqual(read(options_path), mine_options)
            self.assertEqual(read(tarif_path), mine_tarif)

            # The installed meter counts. The loopback row (type 24) stands for
            # the user's link here, chosen as the settings program would.
            write(options_path, mine_options.replace(b"AutoFind=71", b"AutoFind=24"))
            p.dir = inst
            p.start_meter()
            self.assertTrue(p.wait_ticks(1), "the installed meter does not count")
            in0 = p.totals()[0]
            rx0, _ = vb.netdev("lo")
            vb.send_loopback(3_000_000)
            rx1, _ = vb.netdev("lo")
            counted = vb.wait_for(lambda: p.totals()[0] - in0 == rx1 - rx0, timeout=30)
            self.assertTrue(counted, (p.totals()[0] - in0, rx1 - rx0))
            p.screenshot("/tmp/shots/installed-strip-skin.png")
            # No "no tariff" report: the changed tariff is in force.
            self.assertFalse(os.path.exists(os.path.join(inst, "bug.txt")))
            p.kill_meter()

            write(os.path.join(inst, "statistic.ini"), b"[x]\r\nInTall=1\r\n")
            code, _ = p.wine(os.path.join(inst, "uninstall.exe"), "/S", timeout=120)
            self.assertEqual(code, 0)
            # The uninstaller runs on from a copy of itself; wait for its last removal.
            removed = ("qmeter4.exe", "qmeter_cfg.exe", "miniupnpc-LICENSE.txt", "Look", "uninstall.exe")
            vb.wait_for(lambda: not any(os.path.exists(os.path.join(inst, n)) for n in removed), 60)
            for name in removed:
                self.assertFalse(os.path.exists(os.path.join(inst, name)), name)
            # Unattended: the user's own data stays.
            self.assertTrue(os.path.exists(os.path.join(inst, "statistic.ini")))
            self.assertIsNotNone(p.reg_get(vb.TOTALS_KEY, "InTall"))
            self.assertEqual(menu[0] and os.path.exists(menu[0]), False)


if __name__ == "__main__":
    unittest.main()
