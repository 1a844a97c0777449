"""What the benchmark scripts share: the build's folders, a Wine environment
for the build's prefix with its server kept up, and a long statistic.ini."""
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
