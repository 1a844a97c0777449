"""What the benchmark scripts share: the build's folders, a Wine environment
for the build's prefix with its server kept up, a long statistic.ini, and the
CPU a Wine prefix's processes have spent."""
import os
import subprocess

BUILD = os.environ.get("VTC_BUILD") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", "..", "build"))
SOURCE = os.environ.get("VTC_SOURCE") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(BUILD, "wineprefix"))
    env["WINEPREFIX"] = os.path.abspath(env["WINEPREFIX"])
    env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", LANG="ru_RU.UTF-8")
    env.pop("LC_ALL", None)
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        subprocess.run([os.path.join(SOURCE, "scripts", "wine-prefix.sh"), env["WINEPREFIX"]], check=True)
    subprocess.run(["wineserver", "-p"], env=env)
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return env


def history(n):
    """statistic.ini with n day records (1251 bytes)."""
    out = []
    for i in range(n):
        day, month, year = 1 + i % 28, 1 + (i // 28) % 12, 1990 + i // 336
        out.append("[За день %02d.%02d.%04d]\r\nInTall=%d\r\nOutTall=%d\r\nDenall=%d.25\r\ntimeall=01:02:05\r\n"
                   % (day, month, year, i * 1000 + 7, i * 37, i))
    return "".join(out).encode("cp1251")


def prefix_processes_cpu(prefix):
    """CPU seconds used so far by the processes that serve this Wine prefix."""
    total = 0.0
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if ("WINEPREFIX=%s" % prefix).encode() not in f.read().split(b"\0"):
                    continue
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        except OSError:
            continue
    return total
