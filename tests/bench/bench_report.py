"""Opening the page "Отчёт" on a statistic.ini of 10,000 records: the time
from picking its tab until the chart is painted, beside the time to read
the file once, as a ratio; and "qmeter_cfg.exe /export" of the same file,
beside the same program started on a folder with nothing to export (its own
start-up under Wine)."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from benchenv import BUILD, history, wine_env

RECORDS = int(os.environ.get("VTC_BENCH_RECORDS", "10000"))
ROUNDS = 3


def wine(env, args, timeout=600):
    with tempfile.TemporaryFile() as out:
        start = time.monotonic()
        r = subprocess.run(["wine"] + args, env=env, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=timeout)
        took = time.monotonic() - start
        out.seek(0)
        return r.returncode, took, out.read().decode(errors="replace")


def main():
    env = wine_env()
    data = history(RECORDS)
    folder = tempfile.mkdtemp(prefix="vtc-bench-report-")
    empty = tempfile.mkdtemp(prefix="vtc-bench-report-empty-")
    try:
        with open(os.path.join(folder, "statistic.ini"), "wb") as f:
            f.write(data)
        with open(os.path.join(folder, "options.ini"), "wb") as f:
            f.write(b"[Options]\r\nStatistic=1\r\nDenstr=rub\r\n")
        win = lambda p: "Z:" + p.replace("/", "\\")
        print("statistic.ini: %d records, %d bytes" % (RECORDS, len(data)))
        best = None
        for _ in range(ROUNDS):
            code, _, out = wine(env, [os.path.join(BUILD, "bench_report.exe"), win(folder) + "\\"])
            f = dict(line.split() for line in out.splitlines() if line.strip())
            if code != 0 or "page_ms" not in f:
                raise RuntimeError("bench_report gave no figures (exit %d)" % code)
            f = {k: float(v) for k, v in f.items()}
            if best is None or f["page_ms"] < best["page_ms"]:
                best = f
        ratio = best["page_ms"] / best["read_once_ms"] if best["read_once_ms"] > 0 else float("nan")
        print("page opened and painted %8.1f ms (best of %d; %d bars); read once %6.2f ms (x%.0f); "
              "settings window built %.1f ms"
              % (best["page_ms"], ROUNDS, best["bars"], best["read_once_ms"], ratio, best["window_ms"]))

        for d in (folder, empty):
            shutil.copy(os.path.join(BUILD, "qmeter_cfg.exe"), d)
        csv = os.path.join(folder, "out.csv")
        runs, idle = [], []
        for _ in range(ROUNDS):
            code, took, _ = wine(env, [os.path.join(folder, "qmeter_cfg.exe"), "/export", win(csv)])
            if code != 0 or not os.path.exists(csv):
                raise RuntimeError("/export ended with %d" % code)
            runs.append(took)
            code, took, _ = wine(env, [os.path.join(empty, "qmeter_cfg.exe"), "/export",
                                       win(os.path.join(empty, "out.csv"))])
            idle.append(took)
        print("/export of the same file %8.1f ms (best of %d), %d bytes; the program with nothing to export "
              "%.1f ms" % (min(runs) * 1000, ROUNDS, os.path.getsize(csv), min(idle) * 1000))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(empty, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
