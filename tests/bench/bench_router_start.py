"""The meter's start-up with a router that never answers (an address where a
socket takes every question and answers none) beside a start-up that reads
this computer's interfaces: the time from starting qmeter4.exe until its
first tick has saved the totals. The router is asked on a thread of its own,
so the two should be alike."""
import os
import socket
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import vtcbench as vb  # noqa: E402

vb.enter_namespace()
ROUNDS = 5
SILENT = "127.0.0.2"


def first_tick(options):
    with vb.Program(options=dict(options, ShowBt="0", Statistic="4"), tarif=None) as p:
        started = time.monotonic()
        p.start_meter(wait=False)
        if not vb.wait_for(lambda: p.reg_get(vb.TOTALS_KEY, "timeall") is not None, timeout=60, step=0.05):
            raise RuntimeError("the meter saved no tick")
        return time.monotonic() - started


def main():
    silent = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    silent.bind((SILENT, 161))  # takes every question, answers none
    local, router = [], []
    for _ in range(ROUNDS):
        local.append(first_tick({"AutoFind": "24"}))
        router.append(first_tick({"Source": "2", "Router": SILENT, "RouterInterface": "wan0"}))
    silent.close()
    lm, rm = statistics.median(local), statistics.median(router)
    print("start-up to the first tick, this computer's interfaces: %.2f s (median of %d)" % (lm, ROUNDS))
    print("start-up to the first tick, a router that never answers: %.2f s (median of %d)" % (rm, ROUNDS))
    print("router / local: %.2f" % (rm / lm if lm > 0 else float("nan")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
