"""The bench itself: a private namespace with loopback only, exact loopback
counters, and a registry that the probe reads back as the programs would."""
import os
import unittest

import vtcbench as vb

vb.enter_namespace()


class BenchSanity(unittest.TestCase):
    def test_namespace_has_only_loopback_and_counts_exactly(self):
        names = [l.split(":")[0].strip() for l in open("/proc/net/dev") if ":" in l]
        self.assertEqual(names, ["lo"])
        rx0, tx0 = vb.netdev("lo")
        vb.send_loopback(100000)
        rx1, tx1 = vb.netdev("lo")
        # Payload plus TCP/IP headers, the same on both sides of loopback.
        self.assertGreaterEqual(rx1 - rx0, 100000)
        self.assertEqual(rx1 - rx0, tx1 - tx0)

    def test_private_prefix_registry_round_trip(self):
        with vb.Program(options={"Look": "Default"}) as p:
            self.assertTrue(os.path.exists(p.path("qmeter4.exe")))
            p.reg_set_sz(vb.TOTALS_KEY, "SessionName", "Сессия 18:00:00 05.12.2026")
            p.reg_set_dword(vb.TOTALS_KEY, "timeall", 42)
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "SessionName"), ("REG_SZ", "Сессия 18:00:00 05.12.2026"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "timeall"), ("REG_DWORD", "42"))
            self.assertEqual(p.read_bytes("options.ini"), b"[Options]\r\nLook=Default\r\n")


if __name__ == "__main__":
    unittest.main()
