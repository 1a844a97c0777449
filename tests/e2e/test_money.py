"""Money: the tariff in force prices every online second, shown on the
floating window and kept in the registry, and a start-up without a tariff in
force leaves its error report in bug.txt. (What a second or a byte costs,
prepaid traffic included, is the pricing's unit table's; a tariff the settings
program saved priced by the meter is test_settings_editors'.)"""
import os
import unittest

import vtcbench as vb

vb.enter_namespace()

ALL_DAYS = {str(d): "1" for d in range(1, 8)}
# The Totals skin shows both money labels (3: online period, 10: total).
LOOPBACK = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Totals", "Denstr": "руб."}

REPORT_HEAD = (":: Баг-отчет программы Varnok Traffic Counter 4.x ::\r\n"
               "Этот файл создан потому, что во время выполнения кода программы возникли ошибки\r\n")
ERROR_308 = "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: %d)\r"


wait_for = vb.wait_for

def money_text(v):
    """FloatText of RoundMoney for the amounts these tests produce."""
    text = "%.2f" % round(v, 2)
    return text.rstrip("0").rstrip(".") if "." in text else text


def labels(p):
    return {t["id"] - 100: t["text"] for t in p.window_texts(vb.TITLE) if 101 <= t["id"] <= 112}


def stopped_totals(p):
    """Closes the meter the ordinary way (it saves its totals) and reads them."""
    p.post(vb.TITLE, vb.WM_CLOSE)
    assert p.wait_exit(20), "the meter did not close"
    return p.totals(), p.reg_get(vb.TOTALS_KEY, "denall")


class Money(unittest.TestCase):
    def test_time_priced_tariff_charges_one_hundredth_per_online_second(self):
        tarif = [("Повременный", dict(ALL_DAYS, st="0", et="2359", costt="0.01",
                                      int="0.5", outt="0.5"))]  # traffic prices do not count
        with vb.Program(options=LOOPBACK, tarif=tarif) as p:
            p.start_meter()
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 3))
            vb.send_loopback(200000)
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 6))

            # The money labels follow the seconds: one hundredth each.
            # A loaded machine may let seconds pass between the reads: the
            # labels must show a second seen between them.
            before = int(p.totals()[3])
            shown = labels(p)
            after = int(p.totals()[3])
            allowed = {money_text(0.01 * s) + " руб." for s in range(before - 1, after + 2)}
            self.assertIn(shown[10], allowed, (shown, before, after))
            self.assertIn(shown[3], allowed, (shown, before, after))
            p.screenshot("/tmp/shots/e2e-money-time-priced.png")

            (in_all, _, den, secs), den_raw = stopped_totals(p)
            self.assertGreaterEqual(secs, 6)
            self.assertAlmostEqual(den, 0.01 * secs, places=9)
            self.assertEqual(den_raw, ("REG_SZ", money_text(0.01 * secs)))
            self.assertGreater(in_all, 200000)
            self.assertIsNone(p.read_bytes("bug.txt"))

    def test_empty_tariff_file_writes_the_error_report(self):
        with vb.Program(options=dict(LOOPBACK, ShowBt="1"), tarif="",
                        files={"bug.txt": b"an older, much longer report\r\n" * 40}) as p:
            p.start_meter()
            expect = (REPORT_HEAD + "Директория: " + p.win_path("") + "\r\n" + "Платформа: WVista\r\n" +
                      ERROR_308 % 0 + "\r\n").encode("cp1251")
            self.assertTrue(wait_for(lambda: p.read_bytes("bug.txt") == expect), p.read_bytes("bug.txt"))

            # No tariff in force: traffic and time cost nothing.
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 1))
            vb.send_loopback(300000)
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 4))
            p.screenshot("/tmp/shots/e2e-money-no-tariff.png")
            (in_all, _, den, _), _ = stopped_totals(p)
            self.assertGreater(in_all, 300000)
            self.assertEqual(den, 0)
            self.assertEqual(p.read_bytes("bug.txt"), expect)

    def test_platform_line_follows_the_version_wine_reports(self):
        with vb.Program(options=LOOPBACK, tarif="") as p:
            # 64-bit Windows XP reports version 5.2.
            code, _ = p.wine("reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", "winxp64", "/f")
            self.assertEqual(code, 0)
            p.start_meter()
            expect = (REPORT_HEAD + "Директория: " + p.win_path("") + "\r\n" + "Платформа: WServer2003\r\n" +
                      ERROR_308 % 0 + "\r\n").encode("cp1251")
            self.assertTrue(wait_for(lambda: p.read_bytes("bug.txt") == expect), p.read_bytes("bug.txt"))

    def test_start_up_with_a_tariff_in_force_leaves_an_old_report_alone(self):
        old = "старый отчёт\r\n".encode("cp1251")
        tarif = [("Сутки", dict(ALL_DAYS, st="0", et="2359"))]
        with vb.Program(options=dict(LOOPBACK, ShowBt="1"), tarif=tarif, files={"bug.txt": old}) as p:
            before = os.stat(p.path("bug.txt")).st_mtime_ns
            p.start_meter()
            self.assertTrue(wait_for(lambda: (p.totals()[3] or 0) >= 2))
            p.screenshot("/tmp/shots/e2e-money-tariff-active.png")
            self.assertEqual(p.read_bytes("bug.txt"), old)
            self.assertEqual(os.stat(p.path("bug.txt")).st_mtime_ns, before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
