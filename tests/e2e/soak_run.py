"""Long run of the meter (make soak): loopback traffic all the time, the popup
menu opened and the statistics window shown again and again. At the end the
totals must equal the kernel's counters to the byte, and the process's
handles, GDI and USER objects and private memory must not have grown.

SOAK_SECONDS sets the length (default 1800)."""
import os
import sys
import threading
import time

import vtcbench as vb
import robustness as rb
from robustness import T

vb.enter_namespace()

SECONDS = float(os.environ.get("SOAK_SECONDS", "1800"))
WM_COMMAND = 0x0111
OPTIONS = dict(rb.QUIET, AutoFind="24", ShowBt="1", Statistic="0", statkol="20", Visible="1")
TARIF = [("Всегда", {"st": "0", "et": "2359", "freein": "0", "freeout": "0", "int": "0.000000001",
                     "outt": "0.000000002", "costt": "0.0001", "1": "1", "2": "1", "3": "1", "4": "1",
                     "5": "1", "6": "1", "7": "1"})]


def figures(p):
    code, out = p.probe("proc", vb.TITLE)
    if code != 0:
        return None
    return {k: int(v) for k, v in (line.split("\t") for line in out.splitlines() if "\t" in line)}


def totals(p):
    return tuple(float(p.reg_get(T, n)[1]) for n in ("InTall", "OutTall"))


def main():
    stop = threading.Event()
    sent = [0]

    def traffic():
        # About 100 KB/s in bursts, with pauses, so that both busy and idle
        # seconds occur.
        while not stop.is_set():
            sent[0] += vb.send_loopback(300_000, rate=200_000)
            stop.wait(1.5)

    with vb.Program(options=OPTIONS, tarif=TARIF,
                    statistic=[("Сессия %02d" % i, {"InTall": "1", "OutTall": "1", "Denall": "0",
                                                   "timeall": "00:00:01"}) for i in range(30)]) as p:
        p.start_meter()
        assert p.wait_ticks(2), "the meter does not count"
        # Exercise once before the first reading, so that what is built on
        # first use (menu, fonts of the statistics box) is there at both ends.
        exercise(p)
        start = figures(p)
        in0, out0 = totals(p)
        rx0, tx0 = vb.netdev("lo")
        t0 = time.monotonic()
        worker = threading.Thread(target=traffic, daemon=True)
        worker.start()
        rounds = 0
        samples = []
        while time.monotonic() - t0 < SECONDS:
            exercise(p)
            rounds += 1
            if rounds % 10 == 0:
                samples.append((round(time.monotonic() - t0), figures(p)))
                print("  %5ds %s" % samples[-1], flush=True)
            time.sleep(8)  # the pace of the rounds
            if not p.meter_running():
                print("soak: the meter ended by itself after %.0f s" % (time.monotonic() - t0))
                return 1
        stop.set()
        worker.join()
        assert p.wait_ticks(2)  # the last bytes are counted and saved
        rx1, tx1 = vb.netdev("lo")
        in1, out1 = totals(p)
        end = figures(p)
        elapsed = time.monotonic() - t0
        err_in = (in1 - in0) - (rx1 - rx0)
        err_out = (out1 - out0) - (tx1 - tx0)
        print("soak: %.0f s, %d rounds of menu + statistics window, %d payload bytes sent" % (elapsed, rounds, sent[0]))
        print("soak: kernel rx %d tx %d; totals in %d out %d; error in %d out %d bytes"
              % (rx1 - rx0, tx1 - tx0, in1 - in0, out1 - out0, err_in, err_out))
        for k in ("handles", "gdi", "user", "private"):
            print("soak: %-8s start %12d  end %12d  change %+d" % (k, start[k], end[k], end[k] - start[k]))
        p.screenshot("/tmp/shots/soak-end.png")
        rb.close_meter(p)
        grew = [k for k in ("handles", "gdi", "user") if end[k] > start[k]]
        # Private memory: allocator noise of a few pages is not growth.
        if end["private"] - start["private"] > 1 << 20:
            grew.append("private")
        ok = err_in == 0 and err_out == 0 and not grew
        print("soak: %s%s" % ("PASSED" if ok else "FAILED", "" if not grew else " (grew: %s)" % ", ".join(grew)))
        return 0 if ok else 1


def exercise(p):
    """Right click on the tray icon opens the menu; Escape closes it. Then the
    statistics window is shown from the menu command and hidden with OK."""
    p.xdotool("mousemove", "13", "32", "click", "3")
    assert vb.wait_for(p.menu_shown, 10), "no menu after a right click on the tray icon"
    p.xdotool("key", "Escape")
    assert vb.wait_for(lambda: not p.menu_shown(), 10), "Escape did not close the menu"
    assert p.menu_command("kMenuStatistics")
    assert p.window_visible(rb.STATS_TITLE), "the statistics window did not show"
    # The OK button tells its window BN_CLICKED (id of the button in the low word).
    for row in p.window_texts(rb.STATS_TITLE):
        if row["text"] == "OK":
            p.send(rb.STATS_TITLE, WM_COMMAND, row["id"], 0)
    assert not p.window_visible(rb.STATS_TITLE), "OK did not hide the statistics window"


if __name__ == "__main__":
    sys.exit(main())
