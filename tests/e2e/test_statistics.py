"""A meter started in day mode the day after its last roll-over closes
yesterday into statistic.ini (1251, keys in order), resets the running totals
and shows the new record at the top of its statistics window."""
import datetime
import re
import sys

import vtcbench as vb

vb.enter_namespace()

STATS_TITLE = "Статистика"


def record_text(p, name, values, denstr):
    """A record as the statistics window shows it, made by the meter's own
    code from the values statistic.ini holds (how they read is its unit test's)."""
    code, out = p.probe("record-text", name, values["InTall"], values["OutTall"], values["Denall"], denstr)
    assert code == 0
    return out


def rich_text(p, title):
    """The rich-text box's text as another program reads it. The probe prints
    one control per line, and this text has line breaks of its own, so the
    box's row is cut out of the raw output rather than split into lines."""
    code, out = p.probe("texts", title)
    if code != 0:
        return None
    m = re.search(r"(?im)^\d+\t[-\d]+,[-\d]+,\d+,\d+\t[01]\trichedit\w*\t", out)
    if not m:
        return None
    rest = out[m.end():]
    nxt = re.search(r"\n\d+\t[-\d]+,[-\d]+,\d+,\d+\t[01]\t", rest)
    text = rest[:nxt.start()] if nxt else rest
    # The box hands out CR LF, and the probe's text-mode output adds a CR.
    return re.sub(r"\r*\n", "\r", text)


def main():
    today = datetime.date.today()
    yesterday = today - datetime.timedelta(days=1)
    older = "[За день 01.01.2020]\r\nInTall=1\r\nOutTall=2\r\nDenall=3\r\ntimeall=00:00:04\r\n".encode("cp1251")
    failures = []
    with vb.Program(options={"Statistic": "1", "statkol": "10", "Denstr": "руб.", "ShowBt": "0"},
                    files={"statistic.ini": older}) as p:
        key = vb.TOTALS_KEY
        p.reg_set_dword(key, "day", yesterday.day)
        p.reg_set_dword(key, "month", yesterday.month)
        p.reg_set_dword(key, "year", yesterday.year)
        p.reg_set_sz(key, "InTall", "1234567")
        p.reg_set_sz(key, "OutTall", "1536")
        p.reg_set_sz(key, "denall", "12.3456")
        p.reg_set_dword(key, "timeall", 3725)

        p.start_meter()
        if not p.wait_window(STATS_TITLE, 20):
            failures.append("the statistics window was not built")

        name = "За день %02d.%02d.%04d" % (yesterday.day, yesterday.month, yesterday.year)
        expected = older + ("[%s]\r\nInTall=1234567\r\nOutTall=1536\r\nDenall=12.3456\r\ntimeall=01:02:05\r\n"
                            % name).encode("cp1251")
        got = p.read_bytes("statistic.ini")
        if got != expected:
            failures.append("statistic.ini is %r, expected %r" % (got, expected))

        for value_name, want in (("day", today.day), ("month", today.month), ("year", today.year)):
            v = p.reg_get(key, value_name)
            if v != ("REG_DWORD", str(want)):
                failures.append("%s is %r, expected today's %d" % (value_name, v, want))
        in_total, out_total, money, seconds = p.totals()
        # The running tick saves the totals again every second, from the
        # reset values: traffic and money stay 0 here, time counts from 0.
        if in_total != 0 or out_total != 0 or money != 0 or seconds is None or seconds > 60:
            failures.append("totals after the roll-over: %r" % ((in_total, out_total, money, seconds),))

        text = rich_text(p, STATS_TITLE)
        records = dict((n, dict(kv)) for n, kv in p.read_ini("statistic.ini"))
        want = "".join(record_text(p, n, records[n], "руб.") for n in (name, "За день 01.01.2020"))
        if text is None:
            failures.append("no rich-text box in the statistics window")
        elif not text.startswith(want):
            failures.append("statistics window text %r does not start with %r" % (text[:400], want))
        if p.window_visible(STATS_TITLE):
            failures.append("the statistics window is visible before it is asked for")

    for f in failures:
        print("FAIL:", f)
    print("ok" if not failures else "%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
