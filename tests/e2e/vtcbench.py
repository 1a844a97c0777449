"""End-to-end bench: the real programs under Wine and Xvfb, in a private
network namespace, looked at the way a user or the other program would.

Every e2e script starts with ``vtcbench.enter_namespace()``; each ``Program``
is a copy of the built program folder with a Wine prefix of its own, so that
tests cannot see each other's files or registry.
"""

import functools
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

BUILD = os.environ.get("VTC_BUILD") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", "..", "build"))
SOURCE = os.environ.get("VTC_SOURCE") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), "..", ".."))

TITLE = "Varnok Traffic Counter"
TOTALS_KEY = "SOFTWARE\\Varnok Traffic Counter\\"
PASSWORD_KEY = "SOFTWARE\\Microsoft\\DrWatson\\"
RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
BN_CLICKED = 0


@functools.lru_cache(maxsize=None)
def constants(header):
    """{name: number} of the "name = number" lines of a header of the
    programs (path from the source root): control IDs, menu positions."""
    with open(os.path.join(SOURCE, header), encoding="utf-8") as f:
        return {m.group(1): int(m.group(2), 0)
                for m in re.finditer(r"\b(k\w+)\s*=\s*(0x[0-9A-Fa-f]+|\d+)\b", f.read())}


def ids():
    """The settings program's control IDs by name (kIdOk, kIdTariffList, ...)."""
    return constants("settings/control_ids.h")


def menu_id(position):
    """Command ID of the meter's popup menu item at `position`; positions by
    name are constants("meter/app/popup_menu.h") (kMenuAbout, kMenuExit, ...)."""
    return constants("meter/app/popup_menu.h")["kMenuIdBase"] + position


def menu_position(name):
    return constants("meter/app/popup_menu.h")[name]


def enter_namespace():
    """Re-runs the calling script inside a private network namespace whose
    only interface is loopback (up, counters from 0)."""
    if os.environ.get("VTC_NETNS") == "1":
        subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
        return
    env = dict(os.environ, VTC_NETNS="1")
    script = os.path.abspath(sys.argv[0])
    os.execvpe("unshare", ["unshare", "-n", sys.executable, script] + sys.argv[1:], env)


def wait_for(predicate, timeout=20.0, step=0.25):
    """Polls predicate until it gives a true value or timeout seconds pass;
    returns its last value."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


def netdev(iface="lo"):
    """The kernel's 64-bit (rx_bytes, tx_bytes) of an interface in this namespace."""
    with open("/proc/net/dev") as f:
        for line in f:
            if ":" not in line:
                continue
            name, rest = line.split(":", 1)
            if name.strip() == iface:
                fields = rest.split()
                return int(fields[0]), int(fields[8])
    raise KeyError(iface)


def send_loopback(nbytes, rate=None, chunk=1 << 16):
    """Sends exactly nbytes of payload over TCP 127.0.0.1 and waits until the
    receiver has read them all. rate: bytes per second at most (None: as fast
    as possible)."""
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    received = [0]

    def sink():
        conn, _ = server.accept()
        with conn:
            while True:
                data = conn.recv(1 << 20)
                if not data:
                    break
                received[0] += len(data)

    t = threading.Thread(target=sink)
    t.start()
    client = socket.create_connection(server.getsockname())
    payload = b"\x5a" * chunk
    sent = 0
    start = time.monotonic()
    with client:
        while sent < nbytes:
            n = min(chunk, nbytes - sent)
            client.sendall(payload[:n])
            sent += n
            if rate:
                ahead = sent / rate - (time.monotonic() - start)
                if ahead > 0:
                    time.sleep(ahead)
    t.join()
    server.close()
    assert received[0] == nbytes, (received[0], nbytes)
    return sent


def ini_text(sections):
    """[(section, {key: value} or [(key, value)])] -> INI text with CR LF."""
    out = []
    for section, keys in sections:
        out.append("[%s]\r\n" % section)
        items = keys.items() if isinstance(keys, dict) else keys
        for k, v in items:
            out.append("%s=%s\r\n" % (k, v))
    return "".join(out)


def parse_ini(data):
    """Bytes (1251) -> [(section, [(key, value)])] in file order."""
    result = []
    current = None
    for raw in data.decode("cp1251", errors="replace").splitlines():
        line = raw.strip()
        if line.startswith("[") and "]" in line:
            current = (line[1:line.rindex("]")], [])
            result.append(current)
        elif "=" in line and current is not None:
            k, v = line.split("=", 1)
            current[1].append((k.strip(), v.strip()))
    return result


class Program:
    """A program folder (copy of build/dist) with a private Wine prefix.
    folder: the program folder's own name (any language); lang: the locale
    Wine runs in, which sets the system code page (ru_RU.UTF-8: 1251)."""

    def __init__(self, options=None, tarif=None, statistic=None, files=None, lang=None, keep=False,
                 folder="prog", programs=True):
        dist = os.path.join(BUILD, "dist")
        template = os.path.join(BUILD, "wineprefix")
        if not os.path.exists(os.path.join(template, "system.reg")):
            subprocess.run([os.path.join(SOURCE, "scripts", "wine-prefix.sh"), template], check=True)
        self.tmp = tempfile.mkdtemp(prefix="vtc-e2e-")
        self.dir = os.path.join(self.tmp, folder)
        # The program files only: the shipped first-run files (options.ini,
        # tarif.ini) and installers would hide what a test sets up itself.
        # programs=False: a prefix for the test helpers alone, which need no dist.
        if programs:
            shutil.copytree(dist, self.dir, ignore=lambda d, names: [
                n for n in names if d == dist and (n.endswith((".ini", ".zip")) or "setup" in n)])
        else:
            os.makedirs(self.dir)
        self.prefix = os.path.join(self.tmp, "prefix")
        os.mkdir(self.prefix)
        # Hard links keep a fresh prefix cheap; Wine replaces its registry
        # files instead of writing into them, but copy those anyway.
        subprocess.run(["cp", "-al", os.path.join(template, "drive_c"), self.prefix], check=True)
        # Everything else, hidden files included: without .update-timestamp
        # Wine would rebuild the prefix (20 s) at the first start.
        for entry in os.listdir(template):
            if entry in ("drive_c", "wineserver"):
                continue
            subprocess.run(["cp", "-a", os.path.join(template, entry), self.prefix], check=True)
        self.keep = keep or os.environ.get("VTC_KEEP") == "1"
        self.env = dict(os.environ)
        self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=",
                        LANG=lang or os.environ.get("VTC_LANG", "ru_RU.UTF-8"))
        self.env.pop("LC_ALL", None)
        self.meter = None
        self.settings = None
        if options is not None:
            self.write_ini("options.ini", [("Options", options)])
        if tarif is not None:
            self.write_ini("tarif.ini", tarif)
        if statistic is not None:
            self.write_ini("statistic.ini", statistic)
        for name, data in (files or {}).items():
            self.write_bytes(name, data)
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- files --------------------------------------------------------------
    def path(self, name):
        return os.path.join(self.dir, *name.replace("\\", "/").split("/"))

    def win_path(self, name=""):
        return "Z:" + self.path(name).replace("/", "\\")

    def write_bytes(self, name, data):
        p = self.path(name)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("cp1251"))

    def write_ini(self, name, sections):
        if isinstance(sections, (bytes, str)):
            self.write_bytes(name, sections)
        else:
            self.write_bytes(name, ini_text(sections).encode("cp1251"))

    def read_bytes(self, name):
        try:
            with open(self.path(name), "rb") as f:
                return f.read()
        except OSError:
            return None

    def read_ini(self, name):
        data = self.read_bytes(name)
        return parse_ini(data) if data is not None else []

    # -- Wine processes -----------------------------------------------------
    def wine(self, *args, timeout=60):
        """Runs a Windows program to its end; returns (exit code, stdout text)."""
        with tempfile.TemporaryFile() as out:
            r = subprocess.run(["wine"] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                               stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
            out.seek(0)
            return r.returncode, out.read().decode("utf-8", errors="replace")

    def probe(self, *args):
        return self.wine(os.path.join(BUILD, "vtc_probe.exe"), *args)

    def start_meter(self, wait=True, timeout=30):
        self.meter = subprocess.Popen(["wine", self.path("qmeter4.exe")], env=self.env,
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, cwd=self.dir)
        if wait and not self.wait_window(TITLE, timeout):
            raise AssertionError("the meter's window did not appear")
        return self.meter

    def start_settings(self):
        self.settings = subprocess.Popen(["wine", self.path("qmeter_cfg.exe")], env=self.env,
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, cwd=self.dir)
        return self.settings

    def meter_running(self):
        return self.meter is not None and self.meter.poll() is None

    def kill_meter(self):
        if self.meter_running():
            os.kill(self.meter.pid, signal.SIGKILL)
            self.meter.wait(10)

    def wait_exit(self, timeout=20, proc=None):
        proc = proc or self.meter
        try:
            proc.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def window_exists(self, title):
        code, _ = self.probe("find", title)
        return code == 0

    def window_visible(self, title):
        code, out = self.probe("find", title)
        return code == 0 and out.strip() == "1"

    def wait_window(self, title, timeout=20, visible=None):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            code, out = self.probe("find", title)
            if code == 0 and (visible is None or (out.strip() == "1") == visible):
                return True
            time.sleep(0.2)
        return False

    def window_texts(self, title):
        code, out = self.probe("texts", title)
        if code != 0:
            return []
        rows = []
        for line in out.splitlines():
            parts = line.split("\t", 4)
            if len(parts) < 5:
                continue
            x, y, w, h = (int(v) for v in parts[1].split(","))
            rows.append(dict(id=int(parts[0]), x=x, y=y, w=w, h=h, visible=parts[2] == "1",
                             cls=parts[3], text=parts[4]))
        return rows

    def window_rect(self, title):
        code, out = self.probe("rect", title)
        return tuple(int(v) for v in out.split()) if code == 0 else None

    def post(self, title, msg, wparam=0, lparam=0):
        return self.probe("post", title, str(msg), str(wparam), str(lparam))[0] == 0

    def send(self, title, msg, wparam=0, lparam=0):
        """Sends a message and returns once the window has handled it (True),
        or False when it did not answer (no window, or a modal box came up)."""
        return self.probe("send", title, str(msg), str(wparam), str(lparam))[0] == 0

    # -- controls by ID -----------------------------------------------------
    def control(self, title, control_id):
        """The row of `window_texts` for the control with that ID, or None."""
        return next((r for r in self.window_texts(title) if r["id"] == control_id), None)

    def control_text(self, title, control_id):
        row = self.control(title, control_id)
        return None if row is None else row["text"]

    def set_text(self, title, control_id, text):
        assert self.probe("child-text", title, "#%d" % control_id, text)[0] == 0, control_id

    def send_control(self, title, control_id, msg, wparam=0, lparam=0):
        """SendMessage to the control; its result once handled."""
        code, out = self.probe("child-send", title, "#%d" % control_id, str(msg), str(wparam), str(lparam))
        assert code == 0, (control_id, msg, code)
        return int(out.strip() or 0)

    def notify(self, title, control_id, code=BN_CLICKED, wait=True):
        """The control tells its window `code`, as a user's click or pick does.
        wait: returns once the window has handled it (False when it did not
        answer, as when it opened a message box); otherwise only posted."""
        if not wait:
            return self.probe("child-command", title, "#%d" % control_id, str(code))[0] == 0
        return self.probe("child-notify", title, "#%d" % control_id, str(code))[0] == 0

    def click(self, title, control_id, wait=True):
        return self.notify(title, control_id, BN_CLICKED, wait)

    def items(self, title, control_id):
        code, out = self.probe("child-items", title, "#%d" % control_id)
        assert code == 0, control_id
        return out.splitlines()

    # -- the meter's menu -----------------------------------------------------
    def menu_command(self, name, wait=True):
        """Chooses a popup menu item of the meter by its position's name
        (kMenuFloating, ...), as the menu does: the command goes to the
        floating window. wait: returns once it has been handled."""
        msg = (self.send if wait else self.post)
        return msg(TITLE, WM_COMMAND, menu_id(menu_position(name)))

    def menu_shown(self):
        code, out = self.probe("menu-shown")
        return code == 0 and out.strip() == "1"

    def moving(self, title):
        """The program of that window is moving a window with the mouse (a drag)."""
        code, out = self.probe("gui-flags", title)
        return code == 0 and int(out.strip() or 0) & 0x2 != 0  # GUI_INMOVESIZE

    def saved_seconds(self):
        """timeall as the meter last saved it (0 when absent)."""
        v = self.reg_get(TOTALS_KEY, "timeall")
        return int(v[1] or 0) if v and v[0] == "REG_DWORD" else 0

    def wait_ticks(self, n=1, timeout=30):
        """Waits until an online meter has saved n more seconds of online time."""
        start = self.saved_seconds()
        return wait_for(lambda: self.saved_seconds() >= start + n, timeout)

    def wait_saved(self, timeout=30):
        """Waits until the running meter saves its totals once more, online or
        offline: timeall is set to a text, which the next save turns back into
        a number. Only for a meter whose online time is 0 (a start would read
        the text as 0)."""
        self.reg_set_sz(TOTALS_KEY, "timeall", "0")
        return wait_for(lambda: (self.reg_get(TOTALS_KEY, "timeall") or ("",))[0] == "REG_DWORD", timeout)

    # -- registry (as the programs see it: HKLM, else HKCU) -----------------
    def reg_get(self, path, name):
        code, out = self.probe("reg-get", path, name)
        if code != 0:
            return None
        kind, _, value = out.rstrip("\r\n").partition("\t")
        return kind, value

    def reg_set_sz(self, path, name, value):
        assert self.probe("reg-set-sz", path, name, value)[0] == 0

    def reg_set_dword(self, path, name, value):
        assert self.probe("reg-set-dword", path, name, str(value))[0] == 0

    def reg_del(self, path, name):
        return self.probe("reg-del", path, name)[0] == 0

    def store_password(self, text):
        """The exit password, stored as the settings program stores it."""
        assert self.probe("password-set", text)[0] == 0

    def stored_password(self):
        """The exit password as both programs read it."""
        code, out = self.probe("password-get")
        assert code == 0
        return out.rstrip("\r\n")

    def totals(self):
        """(InTall, OutTall, denall, timeall) as numbers; None where absent."""
        out = []
        for name in ("InTall", "OutTall", "denall", "timeall"):
            v = self.reg_get(TOTALS_KEY, name)
            out.append(None if v is None else float(v[1] or 0))
        return tuple(out)

    # -- screen -------------------------------------------------------------
    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["import", "-window", "root", path], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def settled_screenshot(self, path, timeout=10):
        """A screenshot taken once two in a row show the same pixels, so that
        what was just shown has been painted."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        last = None
        end = time.monotonic() + timeout
        while True:
            # Uncompressed, to compare; written as PNG once it holds still.
            shot = subprocess.run(["import", "-window", "root", "ppm:-"], capture_output=True).stdout
            if (shot and shot == last) or time.monotonic() > end:
                subprocess.run(["convert", "ppm:-", path], input=shot, check=False)
                return path
            last = shot

    def xdotool(self, *args):
        r = subprocess.run(["xdotool"] + list(args), capture_output=True, text=True)
        return r.stdout

    # -- lifetime -----------------------------------------------------------
    def close(self):
        for proc in (self.meter, self.settings):
            if proc is not None and proc.poll() is None:
                proc.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        # Reaped, so that no launcher outlives its prefix unnoticed.
        for proc in (self.meter, self.settings):
            if proc is not None:
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    proc.kill()
        if not self.keep:
            shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False
