"""More than 4 GiB over loopback in one run: Wine reports the low 32 bits of
the counters, so they wrap at least once, and the totals must still equal the
kernel's 64-bit figures. The loopback row reports no speed, so the meter takes
a fall of its counter for a wrap only within what 1 Gbit/s carries twice over
the time between two ticks: the sending stays below that."""
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

OPTIONS = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Default", "Statistic": "5"}
VOLUME = 4 * 1024 ** 3 + 300 * 1024 ** 2
RATE = 200 * 1000 * 1000  # bytes per second at most


wait_for = vb.wait_for

class MeterWrap(unittest.TestCase):
    def test_totals_follow_the_64_bit_counters_across_a_wrap(self):
        with vb.Program(options=OPTIONS) as p:
            p.start_meter()
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 1), "the meter saved no tick")
            rx0, tx0 = vb.netdev("lo")
            started = time.monotonic()
            vb.send_loopback(VOLUME, rate=RATE, chunk=1 << 20)
            took = time.monotonic() - started
            rx1, tx1 = vb.netdev("lo")
            self.assertGreater(rx1 - rx0, 2 ** 32)
            expect = (float(rx1 - rx0), float(tx1 - tx0))
            got = wait_for(lambda: p.totals()[:2] == expect)
            self.assertTrue(got, "totals %r, kernel %r after %.1f s of sending" % (p.totals(), expect, took))
            self.assertTrue(p.wait_ticks(2))  # nothing is counted twice
            self.assertEqual(p.totals()[:2], expect)
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "InTall"), ("REG_SZ", str(rx1 - rx0)))


if __name__ == "__main__":
    unittest.main()
