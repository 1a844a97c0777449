"""Start-up cost of a long history: statistic.ini with 10,000 records, the
roll-over that closes one more day, and the statistics window's fill with the
record limit 10000 (all kept) and 10 (9,989 records deleted), beside the time
to read the file once (raw bytes, and one walk of the profile functions).

VTC_BENCH_SLOW=1 adds the two slow figures: the fill key by key through the
profile functions with the limit 10 (one file rewrite per deleted record), and
the whole window with all 10,001 records in its rich-text box."""
import os
import shutil
import subprocess
import sys
import tempfile

from benchenv import BUILD, history, wine_env

RECORDS = int(os.environ.get("VTC_BENCH_RECORDS", "10000"))
SLOW = os.environ.get("VTC_BENCH_SLOW") == "1"


def run(env, folder, data, statkol, fill, timeout=1800):
    with open(os.path.join(folder, "statistic.ini"), "wb") as f:
        f.write(data)
    exe = os.path.join(BUILD, "bench_statistics.exe")
    win_folder = "Z:" + folder.replace("/", "\\") + "\\"
    with tempfile.TemporaryFile() as out:
        subprocess.run(["wine", exe, win_folder, str(statkol), fill], env=env, stdin=subprocess.DEVNULL,
                       stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        figures = dict(line.split() for line in out.read().decode().splitlines() if line.strip())
    if figures.get("fill_ok") != "1":
        raise RuntimeError("bench_statistics %s %s gave no figures" % (statkol, fill))
    return {k: float(v) for k, v in figures.items()}


def main():
    env = wine_env()
    data = history(RECORDS)
    folder = tempfile.mkdtemp(prefix="vtc-bench-stats-")
    try:
        cases = [("limit %d, file side" % RECORDS, RECORDS, "text"),
                 ("limit 10, file side", 10, "text"),
                 ("limit 10, whole window", 10, "window")]
        if SLOW:
            cases += [("limit 10, key by key", 10, "keybykey"),
                      ("limit %d, whole window" % RECORDS, RECORDS, "window")]
        print("statistic.ini: %d records, %d bytes" % (RECORDS, len(data)))
        for name, statkol, fill in cases:
            f = run(env, folder, data, statkol, fill)
            raw, prof = f["read_once_ms"], f["profile_read_once_ms"]
            total = f["rollover_ms"] + f["fill_ms"]
            ratio = lambda v, b: (v / b) if b > 0 else float("nan")
            print("%-26s roll-over %9.1f ms + fill %10.1f ms = %10.1f ms; records left %5d; "
                  "read once: raw %6.2f ms (x%.0f), profile walk %7.1f ms (x%.1f)"
                  % (name, f["rollover_ms"], f["fill_ms"], total, f["kept"], raw, ratio(total, raw), prof,
                     ratio(total, prof)))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
