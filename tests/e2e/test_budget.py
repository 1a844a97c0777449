"""The budget guard as a user meets it: traffic over the loopback runs through
a prepaid megabyte. The meter warns by balloons (with ShowBt off as well),
each mark once, keeps what it said in the totals key, says nothing again
after a restart and starts a new statistics period with nothing said. (Which
warning is due when, for the money limit too, is the guard's unit table's;
that the tick's money reaches it, the meter's unit test's.)"""
import unittest

import vtcbench as vb

vb.enter_namespace()

MB = 1048576
ALL_DAYS = {str(d): "1" for d in range(1, 8)}
# Days: a restart on the same day stays in the period.
OPTIONS = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Denstr": "руб.", "Statistic": "1"}
SHOTS = "/tmp/shots/"

wait_for = vb.wait_for


def announced(p, name):
    v = p.reg_get(vb.TOTALS_KEY, name)
    return int(v[1]) if v and v[0] == "REG_DWORD" else None


def balloons(p):
    """Texts of the balloons on screen (Wine draws them as tooltips)."""
    code, out = p.probe("tooltips")
    return [line for line in out.splitlines() if line.strip()] if code == 0 else []


def balloon(p, part, timeout=20):
    """The first balloon text holding `part`, once Wine shows it (about two
    seconds after it was asked); None if none comes."""
    seen = wait_for(lambda: [b for b in balloons(p) if part in b], timeout)
    return seen[0] if seen else None


def restart(p):
    p.post(vb.TITLE, vb.WM_CLOSE)
    assert p.wait_exit(20), "the meter did not close"
    p.start_meter()


class BudgetGuard(unittest.TestCase):
    def test_prepaid_megabyte_warned_at_80_then_used_up_once_a_period(self):
        # 1.5 a megabyte beyond the prepaid one.
        tarif = [("Трафик", dict(ALL_DAYS, st="0", et="2359", freein=str(MB), int="0.00000143051147460938",
                                 outt="0", costt="0"))]
        with vb.Program(options=OPTIONS, tarif=tarif) as p:
            p.start_meter()
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 1))  # the baseline is taken
            vb.send_loopback(int(0.85 * MB))
            self.assertTrue(wait_for(lambda: announced(p, "AlertPrepaidIn") == 80), p.totals())
            text = balloon(p, "Входящий: использовано")
            p.screenshot(SHOTS + "e2e-budget-prepaid-80.png")
            self.assertRegex(text or "", r"^Входящий: использовано 8\d % \(8\d\d(\.\d\d?)?Kb из 1Mb\)$")
            self.assertLess(p.totals()[0], MB)

            vb.send_loopback(int(0.25 * MB))
            self.assertTrue(wait_for(lambda: announced(p, "AlertPrepaidIn") == 100), p.totals())
            text = balloon(p, "теперь платный")
            p.screenshot(SHOTS + "e2e-budget-prepaid-used-up.png")
            self.assertEqual(text, "Входящий трафик теперь платный: 1Mb стоит 1.5 руб.")
            self.assertGreater(p.totals()[0], MB)

            # The same day: nothing is said again.
            restart(p)
            started = p.totals()[3]
            self.assertTrue(wait_for(lambda: p.totals()[3] >= started + 5))
            self.assertEqual(balloons(p), [])
            self.assertEqual(announced(p, "AlertPrepaidIn"), 100)

            # Another day: the period closes with its warnings, the next starts at 0.
            p.post(vb.TITLE, vb.WM_CLOSE)
            self.assertTrue(p.wait_exit(20))
            p.reg_set_dword(vb.TOTALS_KEY, "day", 0)
            p.start_meter()
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 1))
            for name in ("AlertPrepaidIn", "AlertPrepaidOut", "AlertMoney", "AlertTrendDay"):
                self.assertEqual(announced(p, name), 0, name)
            self.assertLess(p.totals()[0], MB)
            self.assertIn("За день 00.", [s for s, _ in p.read_ini("statistic.ini")][-1])


if __name__ == "__main__":
    unittest.main(verbosity=2)
