"""Faults around a running meter: a program folder it may not write, a registry
key it may not write, a hard kill while start-up closes the statistics period,
the clock moved between starts, and the tray's owner going away and coming back."""
import ctypes
import os
import random
import subprocess
import time
import unittest

import vtcbench as vb
import robustness as rb
from robustness import T, QUIET

vb.enter_namespace()


def private_mounts():
    """A mount namespace of our own (before any Wine server starts), so that a
    read-only bind mount is seen by Wine and by nobody outside."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.unshare(0x00020000) != 0:  # CLONE_NEWNS
        return False
    return subprocess.run(["mount", "--make-rprivate", "/"]).returncode == 0


MOUNTS = private_mounts()
FAKETIME_LIB = next((p for p in ("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
                                 "/usr/lib/faketime/libfaketime.so.1") if os.path.exists(p)), None)
LOOPBACK = dict(QUIET, AutoFind="24")  # the loopback row is the measured link here


def records(p):
    return [(name, dict(keys)) for name, keys in p.read_ini("statistic.ini")]


def total_in(p):
    v = p.reg_get(T, "InTall")
    return float(v[1] or 0) if v and v[0] == "REG_SZ" else None


def count_traffic(p, nbytes=2_000_000):
    """Sends nbytes over loopback while the meter runs; returns (kernel delta,
    InTall delta) measured across the send."""
    assert p.wait_ticks(1), "the meter is not counting"
    in0 = total_in(p)
    rx0, _ = vb.netdev("lo")
    vb.send_loopback(nbytes)
    rx1, _ = vb.netdev("lo")
    vb.wait_for(lambda: total_in(p) - in0 >= rx1 - rx0)
    assert p.wait_ticks(1)  # and a tick more: nothing is counted twice
    return rx1 - rx0, total_in(p) - in0


class Faults(unittest.TestCase):
    @unittest.skipUnless(MOUNTS, "needs a private mount namespace (root)")
    def test_read_only_program_folder(self):
        with vb.Program(options=dict(LOOPBACK, Statistic="0", statkol="1000")) as p:
            rb.reg_import(p, {"InTall": "1000", "OutTall": "2000", "denall": "3", "timeall": 60,
                              "SessionName": "Сессия 10:00:00 01.12.2026"})
            options = p.read_bytes("options.ini")
            subprocess.run(["mount", "--bind", p.dir, p.dir], check=True)
            subprocess.run(["mount", "-o", "remount,bind,ro", p.dir], check=True)
            try:
                p.start_meter()
                kernel, counted = count_traffic(p)
                # The period could not be closed into a file it cannot write:
                # the totals are kept, and counting goes on from them.
                self.assertEqual(counted, kernel)
                self.assertGreaterEqual(total_in(p), 1000 + kernel)
                rb.close_meter(p)
            finally:
                p.kill_meter()
                subprocess.run(["umount", p.dir])
            final = total_in(p)
            self.assertIsNone(p.read_bytes("statistic.ini"))
            self.assertIsNone(p.read_bytes("bug.txt"))
            self.assertEqual(p.read_bytes("options.ini"), options)
            self.assertEqual(p.reg_get(T, "SessionName"), ("REG_SZ", "Сессия 10:00:00 01.12.2026"))
            # Writable again: the next start closes the period with everything it held.
            rb.run_meter(p, sentinel="OutTall")
            rec = dict(records(p))
            self.assertIn("Сессия 10:00:00 01.12.2026", rec)
            self.assertEqual(float(rec["Сессия 10:00:00 01.12.2026"]["InTall"]), final)

    def test_registry_key_refuses_writes(self):
        with vb.Program(options=LOOPBACK) as p:
            code, _ = p.probe("reg-deny", T)
            self.assertEqual(code, 0)
            p.start_meter()
            kernel, counted = count_traffic(p)
            self.assertEqual(counted, kernel)
            rb.close_meter(p)
            # The totals went to the same path under the current user, and the
            # machine key holds nothing the meter wrote.
            _, machine = p.wine("reg", "query", "HKLM\\" + T.rstrip("\\"))
            _, user = p.wine("reg", "query", "HKCU\\" + T.rstrip("\\"))
            self.assertNotIn("InTall", machine)
            self.assertIn("InTall", user)
            # They survive a restart: the next run goes on from them.
            before = total_in(p)
            p.start_meter()
            kernel, counted = count_traffic(p)
            self.assertEqual(counted, kernel)
            self.assertGreaterEqual(total_in(p), before + kernel)
            rb.close_meter(p)

    def test_killed_while_closing_the_period(self):
        """Session mode closes a record at every start. Kill the meter at random
        moments of its start-up, again and again; every figure handed to it
        must end up in exactly one record."""
        rnd = random.Random(1107)
        issued = []
        with vb.Program(options=dict(QUIET, Statistic="0", statkol="100000")) as p:
            for i in range(12):
                cur = p.reg_get(T, "InTall")
                if cur is None or cur[1] in ("", "0"):
                    figure = str(10000 + i)
                    p.reg_set_sz(T, "InTall", figure)
                    issued.append(figure)
                p.start_meter(wait=False)
                time.sleep(rnd.uniform(0.2, 2.5))  # a random moment of the start-up
                p.kill_meter()
                # The next start falls in another second: another session name.
                killed = int(time.time())
                vb.wait_for(lambda: int(time.time()) > killed, 3, step=0.05)
            rb.run_meter(p, sentinel="OutTall")
            got = [keys.get("InTall") for _, keys in records(p)]
            lost = [f for f in issued if got.count(f) == 0]
            doubled = [f for f in issued if got.count(f) > 1]
            print("killed-start-up: %d figures, %d records, lost %s, doubled %s"
                  % (len(issued), len(got), lost, doubled))
            self.assertEqual(lost, [])
            self.assertEqual(doubled, [])
            self.assertEqual(p.reg_get(T, "InTall"), ("REG_SZ", "0"))

    def test_killed_between_record_and_reset(self):
        """The state a kill leaves when it falls after the record was written
        and before the totals were reset (too short a moment to hit by chance):
        the next start must not count the figure a second time."""
        a, b = "Сессия 10:00:00 01.12.2026", "Сессия 10:05:00 01.12.2026"
        with vb.Program(options=dict(QUIET, Statistic="0", statkol="100000"),
                        statistic=[(a, {"InTall": "777", "OutTall": "0",
                                        "Denall": "0", "timeall": "00:00:00"})]) as p:
            rb.reg_import(p, {"SessionName": a, "InTall": "777", "OutTall": "0", "denall": "0", "timeall": 0,
                              "ClosingInTall": "777", "ClosingOutTall": "0", "ClosingDenall": "0",
                              "ClosingTimeall": "00:00:00", "ClosingSessionName": b, "ClosingRecord": a})
            rb.run_meter(p, sentinel="OutTall")
            recs = dict(records(p))
            print("kill between record and reset: the record holds %s for a figure of 777" % recs[a]["InTall"])
            self.assertEqual(recs[a]["InTall"], "777")
            self.assertEqual(recs[b]["InTall"], "0")
            self.assertIsNone(p.reg_get(T, "ClosingRecord"))

    @unittest.skipUnless(FAKETIME_LIB, "faketime is not installed")
    def test_clock_moved_between_starts(self):
        """Day mode. Each start is made at a chosen wall-clock time; each
        period's figure must land in exactly one record, none negative."""
        starts = [("2026-12-08 00:30:00", "100"),   # first start of the 8th
                  ("2026-12-07 23:30:00", "200"),   # clock set back an hour, over midnight
                  ("2026-12-08 23:30:00", "300"),   # clock set forward a day
                  ("2026-12-08 23:45:00", "400"),   # same day again: nothing closes
                  ("2026-12-09 08:00:00", "500")]   # next day
        with vb.Program(options=dict(QUIET, Statistic="1", statkol="100000")) as p:
            for when, figure in starts:
                p.reg_set_sz(T, "InTall", str(float(total_in(p) or 0) + float(figure)).rstrip("0").rstrip("."))
                p.env.update(FAKETIME="@" + when, LD_PRELOAD=FAKETIME_LIB)
                try:
                    rb.run_meter(p, sentinel="OutTall")
                finally:
                    p.env.pop("FAKETIME")
                    p.env.pop("LD_PRELOAD")
                day = p.reg_get(T, "day"), p.reg_get(T, "month"), p.reg_get(T, "year")
                print("clock %s: markers %s, records %s" % (when, [d[1] for d in day],
                                                           [(n, k.get("InTall")) for n, k in records(p)]))
            rec = records(p)
            values = [float(k.get("InTall", "0")) for _, k in rec]
            self.assertTrue(all(v >= 0 for v in values), rec)
            # Everything handed over is in the records or still open, once.
            self.assertEqual(sum(values) + (total_in(p) or 0), 1500, rec)
            # The open period is the 9th's.
            self.assertEqual([p.reg_get(T, n)[1] for n in ("day", "month", "year")], ["9", "12", "2026"])

    def test_tray_owner_gone_and_back(self):
        """Explorer restarting: the new taskbar has lost every icon and
        broadcasts TaskbarCreated; the meter must put its icon back. (Killing
        Wine's own explorer would take the desktop window with it, which no
        Explorer restart on Windows does, so the loss is made with NIM_DELETE.)"""
        def tray_shown():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine System Tray"],
                                 capture_output=True, text=True).stdout.split()
            return bool(out)

        with vb.Program(options=dict(QUIET, ShowBt="0")) as p:
            p.start_meter()
            self.assertTrue(rb.wait_for(tray_shown, 20), "no tray icon at start")
            for round_ in range(3):
                code, _ = p.probe("tray-drop", "qmeter", "1")
                self.assertEqual(code, 0)
                self.assertTrue(rb.wait_for(lambda: not tray_shown(), 10), "the icon did not go away")
                code, _ = p.probe("broadcast", "TaskbarCreated")
                self.assertEqual(code, 0)
                self.assertTrue(rb.wait_for(tray_shown, 10), "the icon did not come back (round %d)" % round_)
            self.assertTrue(p.meter_running())
            # Still the meter's icon: a right click opens its menu.
            p.screenshot("/tmp/shots/tray-back.png")
            rb.close_meter(p)


if __name__ == "__main__":
    unittest.main()
