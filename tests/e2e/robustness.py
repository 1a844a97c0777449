"""Shared by the bad-input, fault and soak runs: one start of a program that
must come up, tick and go away again, damaged files made on the spot, and
registry values that the probe's command line cannot carry."""

import os
import random
import struct
import subprocess
import tempfile

import vtcbench as vb

WM_NULL = 0x0000
WM_CLOSE = 0x0010
SETTINGS_TITLE = "Настройки"
LOCK_TITLE = "Блокировка"
STATS_TITLE = "Статистика"
T = vb.TOTALS_KEY

# Options that keep a run quiet and its files still: no roll-over, no record
# limit to trim to, no update check, no balloons.
QUIET = {"Statistic": "9", "statkol": "100000", "AutoUpdate": "0", "ShowBt": "0"}

WINDOW_STATE_KEYS = {"left", "top", "visible", "stayontop"}


class Trouble(AssertionError):
    pass


def garbage(n, seed=11):
    """n reproducible random bytes, NUL, CR, LF, "[", "]" and "=" included."""
    rnd = random.Random(seed)
    return bytes(rnd.randrange(256) for _ in range(n))


def long_text(n=70000, ch="7"):
    return ch * n


# --- pictures -----------------------------------------------------------------

def bmp(width, height, bits=24, pixels=None, declared_size=None):
    """A Windows bitmap file. pixels: raw rows (bottom-up); None fills them.
    declared_size: what the header claims the image is, for lying headers."""
    palette = b""
    if bits <= 8:
        palette = b"".join(struct.pack("<BBBB", i * 255 // ((1 << bits) - 1), 0, 0, 0) for i in range(1 << bits))
    stride = ((width * bits + 31) // 32) * 4
    if pixels is None:
        pixels = bytes([0x5A]) * (stride * abs(height))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       declared_size if declared_size is not None else len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def ico(width=16, height=16, count=1, size=None, offset=None, body=None):
    """An .ico file with one 32-bit image; count/size/offset may lie."""
    if body is None:
        stride = width * 4
        mask = ((width + 31) // 32) * 4 * height
        info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        body = info + b"\x40\x80\xc0\xff" * (width * height) + b"\x00" * mask
        assert len(body) == 40 + stride * height + mask
    head = struct.pack("<HHH", 0, 1, count)
    entry = struct.pack("<BBBBHHII", width & 0xFF, height & 0xFF, 0, 0, 1, 32,
                        len(body) if size is None else size, 6 + 16 if offset is None else offset)
    return head + entry + body


# --- registry -----------------------------------------------------------------

def reg_import(p, values, key=T, root="HKEY_LOCAL_MACHINE"):
    """Writes values through regedit, which takes what a command line cannot:
    {name: str (REG_SZ, 1251) | int (REG_DWORD) | bytes (REG_SZ raw bytes) | None (delete)}."""
    lines = ["REGEDIT4", "", "[%s\\%s]" % (root, key.rstrip("\\"))]
    for name, v in values.items():
        if v is None:
            lines.append('"%s"=-' % name)
        elif isinstance(v, int):
            lines.append('"%s"=dword:%08x' % (name, v & 0xFFFFFFFF))
        elif isinstance(v, bytes):
            lines.append('"%s"=hex(1):%s' % (name, ",".join("%02x" % b for b in v + b"\0")))
        else:
            lines.append('"%s"="%s"' % (name, v.replace("\\", "\\\\").replace('"', '\\"')))
    data = ("\r\n".join(lines) + "\r\n").encode("cp1251")
    fd, path = tempfile.mkstemp(suffix=".reg", dir=p.tmp)
    with os.fdopen(fd, "wb") as f:
        f.write(data)
    code, _ = p.wine("regedit", "/S", "Z:" + path.replace("/", "\\"), timeout=60)
    os.unlink(path)
    if code != 0:
        raise Trouble("regedit refused %r" % list(values))


# --- one start of each program ------------------------------------------------

wait_for = vb.wait_for

def ticked(p, sentinel):
    """True once a tick has saved the totals: the sentinel value was set up so
    that only SaveTotals can give it its saved form."""
    if sentinel == "timeall":
        v = p.reg_get(T, "timeall")
        return v is not None and v[0] == "REG_DWORD"
    v = p.reg_get(T, sentinel)
    return v is not None


def arm_sentinel(p, sentinel):
    if sentinel == "timeall":
        # A string reads as 0, the value an offline meter keeps anyway; the
        # first save turns it into a number. Runs that store seconds there
        # watch another value.
        p.reg_set_sz(T, "timeall", "0")
    else:
        p.reg_del(T, sentinel)


def start_both(p, settings):
    p.start_meter(wait=False)
    proc = p.start_settings() if settings else None
    return proc


def run_programs(p, sentinel="timeall", settings=True, tick_timeout=40, keep_meter=False):
    """Starts the meter (and the settings program beside it), waits until the
    meter has saved a tick and the settings window is up, checks both still
    run, then asks both to close. Raises Trouble on a crash or a hang."""
    arm_sentinel(p, sentinel)
    proc = start_both(p, settings)
    try:
        if not p.wait_window(vb.TITLE, 40):
            raise Trouble("the meter's window never appeared (%s)" % (
                "hung" if p.meter_running() else "it ended, exit code %s" % p.meter.returncode))
        if not wait_for(lambda: not p.meter_running() or ticked(p, sentinel), tick_timeout):
            raise Trouble("the meter saved no tick within %ss (hung in start-up?)" % tick_timeout)
        if proc is not None and not p.wait_window(SETTINGS_TITLE, 40):
            raise Trouble("the settings window never appeared (%s)" % ("hung" if proc.poll() is None else "it ended"))
        # Both still answer a message: neither has crashed or hung since.
        meter_answers = p.send(vb.TITLE, WM_NULL)
        settings_answer = proc is None or p.send(SETTINGS_TITLE, WM_NULL)
        if not p.meter_running():
            raise Trouble("the meter ended by itself (crash), exit code %s" % p.meter.returncode)
        if proc is not None and proc.poll() is not None:
            raise Trouble("the settings program ended by itself (crash), exit code %s" % proc.returncode)
        if not meter_answers:
            raise Trouble("the meter does not answer messages (hung)")
        if not settings_answer:
            raise Trouble("the settings program does not answer messages (hung)")
        if proc is not None:
            p.post(SETTINGS_TITLE, WM_CLOSE)
        if not keep_meter:
            close_meter(p)
        if proc is not None and not p.wait_exit(30, proc=proc):
            raise Trouble("the settings program did not end after WM_CLOSE (hung)")
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
        if not keep_meter:
            p.kill_meter()


def run_meter(p, sentinel="timeall", keep_meter=False, **kw):
    run_programs(p, sentinel=sentinel, settings=False, keep_meter=keep_meter, **kw)


def close_meter(p, timeout=30):
    p.post(vb.TITLE, WM_CLOSE)
    if not p.wait_exit(timeout):
        p.kill_meter()
        raise Trouble("the meter did not end after WM_CLOSE (hung)")


def ini_items(data, skip_keys=()):
    """Every (section, key, value) of an INI text, keys in lower case, minus skip_keys."""
    out = []
    for section, keys in vb.parse_ini(data or b""):
        for k, v in keys:
            if k.lower() not in skip_keys:
                out.append((section.lower(), k.lower(), v))
    return sorted(out)
