"""The forecast's backtest (bench_forecast.cpp): built for this machine, not
for Wine, since the model needs no Windows and the replay of twelve hundred
months then takes a second. Day-mode statistic.ini files named in
VTC_BENCH_HISTORY (blank-separated; `make bench HISTORY="a.ini b.ini"`) or
on the command line are replayed beside the synthetic households."""
import glob
import os
import shlex
import shutil
import subprocess
import sys

from benchenv import BUILD, SOURCE


def main():
    out = os.path.join(BUILD, "bench-native")
    os.makedirs(out, exist_ok=True)
    exe = os.path.join(out, "bench_forecast")
    cxx = os.environ.get("CXX") or shutil.which("clang++") or "g++"
    sources = [os.path.join(SOURCE, "tests", "bench", "bench_forecast.cpp")]
    sources += sorted(glob.glob(os.path.join(SOURCE, "common", "*.cpp")))
    subprocess.run([cxx, "-std=c++17", "-O2", "-I", SOURCE, "-o", exe] + sources, check=True)
    files = shlex.split(os.environ.get("VTC_BENCH_HISTORY", "")) + sys.argv[1:]
    subprocess.run([exe] + [os.path.abspath(f) for f in files], check=True)


if __name__ == "__main__":
    main()
