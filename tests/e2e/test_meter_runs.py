"""The meter runs: it counts the loopback interface byte for byte, keeps its
totals across restarts and a hard kill, stays offline without its interface,
runs only once, and never starts out of reach."""
import os
import subprocess
import threading
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

# Statistic=5 names no statistics period, so no start closes one and resets
# the totals: a restart must simply go on counting.
LOOPBACK = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Default", "Statistic": "5"}


def format_bytes(v):
    suffix = ""
    for s in "KMGT":
        if v < 1024:
            break
        v /= 1024.0
        suffix = s
    whole = int(v)
    hundredths = int((v - whole) * 100)
    if hundredths == 0:
        frac = ""
    elif hundredths % 10:
        frac = ".%02d" % hundredths
    else:
        frac = ".%d" % (hundredths // 10)
    return "%d%s%s" % (whole, frac, suffix)


wait_for = vb.wait_for

def start_online(p):
    """Starts the meter and returns once its first online tick has been saved,
    so that its baseline is taken."""
    before = p.totals()[3]
    p.start_meter()
    ok = wait_for(lambda: (p.totals()[3] or 0) > (before or 0) or (before is None and p.totals()[3] is not None))
    assert ok, "the meter saved no tick"


def labels(p):
    """{label number: (visible, text)} of the floating window."""
    return {t["id"] - 100: (t["visible"], t["text"]) for t in p.window_texts(vb.TITLE) if 101 <= t["id"] <= 112}


class MeterRuns(unittest.TestCase):
    def assert_totals_settle(self, p, rx, tx):
        """The stored totals reach the kernel's figures and stay there."""
        got = wait_for(lambda: p.totals()[:2] == (rx, tx) and p.totals())
        self.assertTrue(got, "totals %r, kernel %r" % (p.totals(), (rx, tx)))
        self.assertTrue(p.wait_ticks(2))  # two more ticks: nothing is counted twice
        self.assertEqual(p.totals()[:2], (rx, tx))

    def test_counts_loopback_exactly_and_continues_after_restart(self):
        with vb.Program(options=LOOPBACK) as p:
            start_online(p)
            rx0, tx0 = vb.netdev("lo")
            vb.send_loopback(3 * 1000 * 1000 + 17)
            rx1, tx1 = vb.netdev("lo")
            self.assertGreater(rx1 - rx0, 3000000)
            self.assert_totals_settle(p, float(rx1 - rx0), float(tx1 - tx0))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "InTall"), ("REG_SZ", str(rx1 - rx0)))

            # One second of online time per tick: the stored time follows the clock.
            t0, w0 = p.totals()[3], time.monotonic()
            self.assertTrue(p.wait_ticks(4))
            t1, w1 = p.totals()[3], time.monotonic()
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "timeall")[0], "REG_DWORD")
            self.assertGreaterEqual(t1 - t0, (w1 - w0) / 2 - 1)
            self.assertLessEqual(t1 - t0, (w1 - w0) + 1)

            # Labels the skin shows carry the figures in the display formats.
            shown = labels(p)
            visible = [n for n, (v, _) in shown.items() if v]
            self.assertTrue(visible, shown)
            if 1 in visible:
                self.assertEqual(shown[1][1], format_bytes(rx1 - rx0) + "b")
            if 2 in visible:
                self.assertEqual(shown[2][1], format_bytes(tx1 - tx0) + "b")
            for n, (v, text) in shown.items():
                if not v:
                    self.assertEqual(text, "?", "label %d hidden by the skin was touched" % n)

            # A second meter ends at once and leaves the first one alone.
            second = subprocess.Popen(["wine", p.path("qmeter4.exe")], env=p.env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=p.dir)
            try:
                second.wait(20)
            except subprocess.TimeoutExpired:
                second.kill()
                self.fail("a second meter kept running")
            self.assertTrue(p.meter_running())

            # Ordinary exit, then a restart continues from the stored totals.
            p.post(vb.TITLE, vb.WM_CLOSE)
            self.assertTrue(p.wait_exit(20))
            stored = p.totals()
            start_online(p)
            vb.send_loopback(500000)
            rx2, tx2 = vb.netdev("lo")
            self.assert_totals_settle(p, float(rx2 - rx0), float(tx2 - tx0))
            self.assertGreaterEqual(p.totals()[3], stored[3])

    def test_interface_two_naming_interface_one_is_counted_once(self):
        with vb.Program(options=dict(LOOPBACK, Interface2="lo")) as p:
            start_online(p)
            rx0, tx0 = vb.netdev("lo")
            vb.send_loopback(1000000)
            rx1, tx1 = vb.netdev("lo")
            self.assert_totals_settle(p, float(rx1 - rx0), float(tx1 - tx0))

    def test_hard_kill_loses_at_most_the_last_tick(self):
        rate = 2 * 1000 * 1000  # bytes per second
        with vb.Program(options=LOOPBACK) as p:
            start_online(p)
            rx0, _ = vb.netdev("lo")
            sender = threading.Thread(target=vb.send_loopback, args=(rate * 8,), kwargs={"rate": rate})
            sender.start()
            # Killed in the middle of the sending, once a few seconds of it are stored.
            self.assertTrue(wait_for(lambda: p.totals()[0] >= 3 * rate, 20), p.totals())
            p.kill_meter()
            rx_kill, _ = vb.netdev("lo")
            sender.join()
            stored = p.totals()[0]
            counted = rx_kill - rx0
            self.assertLessEqual(stored, counted)
            # Headers make loopback carry a little more than the payload rate.
            self.assertGreaterEqual(stored, counted - 2.5 * rate * 1.1, (stored, counted))

            # The next start goes on from what was stored.
            start_online(p)
            rx_restart, _ = vb.netdev("lo")
            vb.send_loopback(100000)
            rx1, _ = vb.netdev("lo")
            expect = stored + (rx1 - rx_restart)
            self.assertTrue(wait_for(lambda: p.totals()[0] == expect), (p.totals(), expect))

    def test_missing_interface_stays_offline_and_labels_keep_their_mark(self):
        options = dict(LOOPBACK, AutoFind="6", Interface="Realtek PCIe GbE Family Controller")
        with vb.Program(options=options) as p:
            p.start_meter()
            vb.send_loopback(200000)
            self.assertTrue(p.wait_saved(), "the meter saved no tick")  # one after the sending
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "InTall"), ("REG_SZ", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "OutTall"), ("REG_SZ", "0"))
            self.assertEqual(p.reg_get(vb.TOTALS_KEY, "timeall"), ("REG_DWORD", "0"))
            shown = labels(p)
            self.assertEqual(sorted(shown), list(range(1, 13)))
            self.assertEqual({text for _, text in shown.values()}, {"?"})
            # The application window exists and is never shown.
            self.assertTrue(p.window_exists("qmeter"))
            self.assertFalse(p.window_visible("qmeter"))
            p.screenshot("/tmp/shots/e2e-meter-offline.png")

    def test_saved_place_off_every_monitor_starts_at_the_work_area(self):
        for left, top, expect in ((5000, 4000, (0, 0)), (-3000, 100, (0, 0)), (120, 200, (120, 200))):
            with vb.Program(options=dict(LOOPBACK, Left=str(left), Top=str(top))) as p:
                p.start_meter()
                rect = p.window_rect(vb.TITLE)
                self.assertEqual(rect[:2], expect, (left, top, rect))


if __name__ == "__main__":
    unittest.main()
