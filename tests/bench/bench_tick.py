"""CPU cost of one meter tick beside two bare GetIfTable lookups (a size
query and a read each, what a tick once cost), measured in the same run, as a
ratio; the tick of a skin with a speed graph beside the tick without one; and
the tick that counts the router's answer beside the one that reads the table.

Under Wine part of every GetIfTable and registry call is done by Wine's own
service processes (wineserver, the network driver host), so two figures are
given: the meter thread's own CPU time, and the whole CPU time including those
processes (each run's start-up cost is taken out with a run of zero rounds)."""
import os
import subprocess
import sys
import tempfile

from benchenv import prefix_processes_cpu

BUILD = os.environ.get("VTC_BUILD") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", "..", "build"))
SOURCE = os.environ.get("VTC_SOURCE") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))
ROUNDS = int(os.environ.get("VTC_BENCH_TICKS", "500"))
BATCHES = 4


def run(env, mode, rounds):
    exe = os.path.join(BUILD, "bench_tick.exe")
    before = prefix_processes_cpu(env["WINEPREFIX"])
    with tempfile.TemporaryFile() as out:
        proc = subprocess.Popen(["wine", exe, mode, str(rounds)], env=env, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = status
        out.seek(0)
        fields = out.read().decode().split()
    services = prefix_processes_cpu(env["WINEPREFIX"]) - before
    if len(fields) != 4:
        raise RuntimeError("bench_tick %s gave no figures" % mode)
    own = float(fields[2]) / 1e6
    whole = usage.ru_utime + usage.ru_stime + services
    return own, whole, float(fields[3]) / 1e6


def main():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(BUILD, "wineprefix"))
    env["WINEPREFIX"] = os.path.abspath(env["WINEPREFIX"])
    env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        subprocess.run([os.path.join(SOURCE, "scripts", "wine-prefix.sh"), env["WINEPREFIX"]], check=True)
    subprocess.run(["wineserver", "-p"], env=env)
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    run(env, "lookups", 50)  # warm up the network driver host
    # Alternating batches: a change in the machine's load during the run then
    # weighs on both figures alike.
    per = max(ROUNDS // BATCHES, 1)
    modes = ("lookups", "ticks", "graphticks", "routerticks")
    sums = {m: [0.0] * 3 for m in modes}
    for _ in range(BATCHES):
        for mode in modes:
            base = run(env, mode, 0)
            full = run(env, mode, per)
            sums[mode] = [s + max(f - b, 0.0) for s, f, b in zip(sums[mode], full, base)]
    figures = {m: tuple(v / (per * BATCHES) * 1e6 for v in sums[m]) for m in sums}
    lk, tk, gk, rk = figures["lookups"], figures["ticks"], figures["graphticks"], figures["routerticks"]
    print("rounds: %d" % (per * BATCHES))
    print("two bare GetIfTable lookups: %8.1f us thread CPU, %8.1f us CPU with Wine services, %8.1f us wall"
          % lk)
    print("one tick of the meter:       %8.1f us thread CPU, %8.1f us CPU with Wine services, %8.1f us wall"
          % tk)
    print("one tick with a speed graph: %8.1f us thread CPU, %8.1f us CPU with Wine services, %8.1f us wall"
          % gk)
    ratio = lambda a, b: (a / b) if b > 0 else float("nan")
    print("tick / lookups: %.2f (thread CPU), %.2f (CPU with Wine services), %.2f (wall)"
          % (ratio(tk[0], lk[0]), ratio(tk[1], lk[1]), ratio(tk[2], lk[2])))
    print("tick with graph / without: %.2f (thread CPU), %.2f (CPU with Wine services), %.2f (wall)"
          % (ratio(gk[0], tk[0]), ratio(gk[1], tk[1]), ratio(gk[2], tk[2])))
    print("one tick counting the router: %7.1f us thread CPU, %8.1f us CPU with Wine services, %8.1f us wall"
          % rk)
    print("router tick / local tick: %.2f (thread CPU), %.2f (CPU with Wine services), %.2f (wall)"
          % (ratio(rk[0], tk[0]), ratio(rk[1], tk[1]), ratio(rk[2], tk[2])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
