"""The report as scripts and users meet it: "qmeter_cfg.exe /export PATH"
writes the history and the open period as the expected bytes, with no
window and no password; it ends with 2 and leaves nothing where it cannot
write or the command line is not one path, with 3 when there is nothing to
export, and creates no registry key. The page "Отчёт" opens on a
long history, and its chart answers the mouse with the period's text."""
import datetime
import os
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

SETTINGS = "Настройки"
SHOTS = "/tmp/shots"
IDS = vb.ids()
CHART, OPEN_LINE, FORECAST_LINE, AVERAGE_LINE = (IDS[n] for n in ("kIdReportChart", "kIdReportOpenLine",
                                                                 "kIdReportForecastLine", "kIdReportAverageLine"))
BOM = b"\xef\xbb\xbf"

RECORDS = [
    ("Сессия 18:00:00 05.12.2026", "1048576", "20480", "1.5", "01:02:05"),
    ("За день 06.12.2026", "10737418240", "1536", "12.3456", "123:00:00"),
    ("За день 07.12.2026", "0", "0", "0", "00:00:00"),
    ("Неделя с 07.12.2026", "500", "1101004", "0.01", "00:00:59"),
    ("За месяц 12.2026", "2048", "1024", "100", "99:59:59"),
]


def history(records):
    return "".join("[%s]\r\nInTall=%s\r\nOutTall=%s\r\nDenall=%s\r\ntimeall=%s\r\n" % r
                   for r in records).encode("cp1251")


def set_totals(p, in_text, out_text, money, seconds):
    p.reg_set_sz(vb.TOTALS_KEY, "InTall", in_text)
    p.reg_set_sz(vb.TOTALS_KEY, "OutTall", out_text)
    p.reg_set_sz(vb.TOTALS_KEY, "denall", money)
    p.reg_set_dword(vb.TOTALS_KEY, "timeall", seconds)


def export(p, *args):
    code, _ = p.wine(p.path("qmeter_cfg.exe"), "/export", *args, timeout=120)
    return code


class Export(unittest.TestCase):
    def test_five_records_and_the_totals_give_exactly_these_bytes(self):
        with vb.Program(files={"statistic.ini": history(RECORDS)}) as p:
            set_totals(p, "2048", "1024", "0.75", 60)
            # A password guards the window, not the export: it must not wait for one.
            p.reg_set_sz(vb.PASSWORD_KEY, "DumpFile", "oBoBoB")
            os.makedirs(p.path("отчёты"))
            self.assertEqual(export(p, p.win_path("отчёты\\статистика.csv")), 0)
            expected = BOM + (
                "Период;Входящий, байт;Исходящий, байт;Деньги;Время онлайн, с\r\n"
                "Сессия 18:00:00 05.12.2026;1048576;20480;1,5;3725\r\n"
                "За день 06.12.2026;10737418240;1536;12,3456;442800\r\n"
                "За день 07.12.2026;0;0;0;0\r\n"
                "Неделя с 07.12.2026;500;1101004;0,01;59\r\n"
                "За месяц 12.2026;2048;1024;100;359999\r\n"
                "Текущий период;2048;1024;0,75;60\r\n").encode("utf-8")
            self.assertEqual(p.read_bytes("отчёты/статистика.csv"), expected)
            self.assertEqual(os.listdir(p.path("отчёты")), ["статистика.csv"])

    def test_what_cannot_be_written_leaves_nothing_behind(self):
        with vb.Program(files={"statistic.ini": history(RECORDS[:1])}) as p:
            set_totals(p, "1", "2", "3", 4)
            os.makedirs(p.path("out/taken"))
            before = sorted(os.listdir(p.path("out")))
            cases = [
                ("a folder that does not exist", [p.win_path("out\\missing\\x.csv")]),
                ("a folder in the file's place", [p.win_path("out\\taken")]),
                ("no path at all", []),
                # A path with blanks a script forgot to quote: its first piece is another file.
                ("a path in pieces", [p.win_path("out\\My"), "Files\\a.csv"]),
                ("anything after the path", [p.win_path("out\\x.csv"), "/quiet"]),
            ]
            for what, args in cases:
                self.assertEqual(export(p, *args), 2, what)
                self.assertEqual(sorted(os.listdir(p.path("out"))), before, what)
                self.assertEqual(os.listdir(p.path("out/taken")), [], what)

    def test_nothing_to_export_ends_with_3_and_writes_nothing(self):
        with vb.Program() as p:
            self.assertEqual(export(p, p.win_path("x.csv")), 3)
            self.assertIsNone(p.read_bytes("x.csv"))
            # Nor does reading leave a totals key on a machine that never ran the meter.
            for root in ("HKLM", "HKCU"):
                code, _ = p.wine("reg", "query", root + "\\" + vb.TOTALS_KEY.rstrip("\\"))
                self.assertNotEqual(code, 0, root)


class Page(unittest.TestCase):
    def open_report(self, p):
        """Starts the settings program and picks the report's tab with the
        keyboard, as far to the right as it is."""
        p.start_settings()
        self.assertTrue(p.wait_window(SETTINGS, 30, visible=True), "the settings window did not show")
        rows = vb.wait_for(lambda: p.window_texts(SETTINGS), 10)
        tab = next(r for r in rows if r["cls"] == "SysTabControl32")
        p.xdotool("mousemove", str(tab["x"] + 28), str(tab["y"] + 12), "click", "1")
        start = None
        for _ in range(8):
            start = time.monotonic()
            p.xdotool("key", "Right")
            if vb.wait_for(lambda: self.control(p, CHART)["visible"], 3, 0.1):
                break
        filled = vb.wait_for(lambda: self.control(p, AVERAGE_LINE)["text"], 10, 0.05)
        self.assertTrue(filled, "the summary was not filled")
        return time.monotonic() - start

    @staticmethod
    def control(p, ident):
        return next((r for r in p.window_texts(SETTINGS) if r["id"] == ident),
                    dict(visible=False, text="", x=0, y=0, w=0, h=0))

    def test_ten_thousand_records(self):
        day = datetime.date(1999, 1, 1)
        records = [("За день %s" % (day + datetime.timedelta(days=i)).strftime("%d.%m.%Y"), str(1024 * (i + 1)),
                    "0", "1", "01:00:00") for i in range(10000)]
        with vb.Program(options={"Statistic": "1", "denstr": "руб."},
                        files={"statistic.ini": history(records)}) as p:
            set_totals(p, "1048576", "1024", "2.5", 3725)
            took = self.open_report(p)
            print("page filled %.2f s after the key press (probe's own start-up included)" % took)
            self.assertEqual(self.control(p, OPEN_LINE)["text"],
                             "Текущий период: вх. 1Mb, исх. 1Kb, 2.5 руб., 01:02:05")
            # The 31 newest; with no marker of where the open period began
            # their span is not known, so the average is per period.
            self.assertEqual(self.control(p, AVERAGE_LINE)["text"],
                             "В среднем за период: вх. 9.75Mb, исх. 0b, 1 руб., 01:00:00")

    def test_forty_records_drawn_and_the_open_period_under_the_mouse(self):
        today = datetime.date.today()
        records = []
        for i in range(40):
            d = today - datetime.timedelta(days=40 - i)
            mb = 20 + (i * 37) % 90
            records.append(("За день %s" % d.strftime("%d.%m.%Y"), str(mb * 1048576), str(mb * 1048576 // 8),
                            "%.2f" % (mb * 0.05), "%02d:%02d:00" % (1 + i % 8, (i * 13) % 60)))
        with vb.Program(options={"Statistic": "1", "denstr": "руб."},
                        files={"statistic.ini": history(records)}) as p:
            set_totals(p, "73400320", "5242880", "3.5", 12345)
            for name, value in (("day", today.day), ("month", today.month), ("year", today.year)):
                p.reg_set_dword(vb.TOTALS_KEY, name, value)
            self.open_report(p)
            p.settled_screenshot(os.path.join(SHOTS, "report-40.png"))
            # The open period is the rightmost bar, just inside the plot's right edge.
            chart = self.control(p, CHART)
            x, y = chart["x"] + chart["w"] - 58, chart["y"] + chart["h"] // 2
            tips = ""
            for dx in (0, -4, 4, -8):
                p.xdotool("mousemove", str(x + dx), str(y))
                tips = vb.wait_for(lambda: p.probe("tooltips")[1], 2)
                if tips:
                    break
            self.assertIn("Текущий период", tips)
            self.assertIn("Входящий трафик: 70Mb", tips)


if __name__ == "__main__":
    unittest.main()
