"""Damaged and hostile registry values and update files. For each: both
programs come up and close when asked, the value reads as the documented
default, and the figures stored beside it are not lost."""
import http.server
import socket
import threading
import time
import unittest

import vtcbench as vb
import robustness as rb
from robustness import T, QUIET

vb.enter_namespace()

BIG = rb.long_text()
GARBAGE = rb.garbage(3000)


class BadRegistry(unittest.TestCase):
    def run_both(self, p, label, **kw):
        try:
            rb.run_programs(p, **kw)
        except rb.Trouble as e:
            self.fail("%s: %s" % (label, e))

    def test_running_totals(self):
        # The meter is offline here (no interface of the default type), so a
        # tick stores back exactly what it read.
        with vb.Program(options=QUIET) as p:
            cases = [
                ("70000 digits", BIG, "0"),
                ("exponent", "1.5E6", "1500000"),
                ("negative", "-2.5e3", "-2500"),
                ("past a double", "1e400", "0"),
                ("text around a number", "Ъ#%@!\t12x.5.6", "12.5"),
                ("every byte", bytes(range(1, 256)), None),
                ("DWORD where a string belongs", 77, "0"),
            ]
            for label, value, want in cases:
                with self.subTest(label):
                    rb.reg_import(p, {"InTall": value, "OutTall": value, "denall": value})
                    self.run_both(p, "totals " + label)
                    for name in ("InTall", "OutTall", "denall"):
                        got = p.reg_get(T, name)
                        self.assertEqual(got[0], "REG_SZ", (label, name))
                        if want is not None:
                            self.assertEqual(got[1], want, (label, name))
            # timeall: a string reads as 0; a number survives, the largest one too.
            for label, value, want in [("string", "3725", "0"), ("70000 characters", BIG, "0"),
                                       ("largest DWORD", 0xFFFFFFFF, str(0xFFFFFFFF))]:
                with self.subTest("timeall " + label):
                    rb.reg_import(p, {"timeall": value})
                    self.run_both(p, "timeall " + label, sentinel="InTall")
                    self.assertEqual(p.reg_get(T, "timeall"), ("REG_DWORD", want))

    def test_roll_over_markers(self):
        with vb.Program(options=dict(QUIET, Statistic="1", statkol="1000")) as p:
            # Day markers of the wrong type read as 0: the closing names the zero
            # date, keeps the figures, and the markers come back as numbers.
            rb.reg_import(p, {"day": "7", "month": "12", "year": "2026", "InTall": "5"})
            self.run_both(p, "day markers as strings", settings=False)
            records = dict(p.read_ini("statistic.ini"))
            self.assertIn("За день 00.00.0000", records)
            self.assertEqual(dict(records["За день 00.00.0000"])["InTall"], "5")
            self.assertEqual(p.reg_get(T, "day")[0], "REG_DWORD")
            self.assertEqual(p.reg_get(T, "InTall"), ("REG_SZ", "0"))

            p.write_bytes("options.ini", vb.ini_text([("Options", dict(QUIET, Statistic="0", statkol="1000"))]))
            for n, (label, name) in enumerate([("SessionName as DWORD", 12345),
                                               ("SessionName of 70000 characters", BIG),
                                               ("SessionName with ] and =", "a]b=c[d"),
                                               ("SessionName of raw bytes", GARBAGE[:200])]):
                with self.subTest(label):
                    figure = str(4200 + n)
                    rb.reg_import(p, {"SessionName": name, "InTall": figure})
                    before = [s for s, _ in p.read_ini("statistic.ini")]
                    self.run_both(p, label, settings=False)
                    after = p.read_ini("statistic.ini")
                    names = [s for s, _ in after]
                    for sec in before:
                        self.assertIn(sec, names, label)
                    # The figures went into exactly one record and the totals restarted.
                    self.assertEqual([dict(k).get("InTall") for _, k in after].count(figure), 1, (label, names))
                    self.assertEqual(p.reg_get(T, "InTall"), ("REG_SZ", "0"), label)

    def test_password_and_autorun(self):
        with vb.Program(options=QUIET) as p:
            # A stored password nobody can type still guards the exit; the
            # settings program keeps its window hidden behind the password gate.
            for label, value in [("odd length", "jCx"), ("70000 characters", BIG), ("raw bytes", GARBAGE[:300])]:
                with self.subTest("password " + label):
                    rb.reg_import(p, {"DumpFile": value}, key=vb.PASSWORD_KEY)
                    try:
                        rb.run_programs(p, keep_meter=True)
                        p.post(vb.TITLE, rb.WM_CLOSE)
                        self.assertTrue(p.wait_window(rb.LOCK_TITLE, 20, visible=True), label)
                        self.assertTrue(p.meter_running(), label)
                    except rb.Trouble as e:
                        self.fail("password %s: %s" % (label, e))
                    finally:
                        p.kill_meter()
            # Not a string: no password; the meter quits at once.
            rb.reg_import(p, {"DumpFile": 5}, key=vb.PASSWORD_KEY)
            self.run_both(p, "password as DWORD")
            rb.reg_import(p, {"DumpFile": None}, key=vb.PASSWORD_KEY)
            for label, value in [("autorun as DWORD", 1), ("autorun of 70000 characters", BIG)]:
                with self.subTest(label):
                    rb.reg_import(p, {"Varnok Traffic Counter": value}, key=vb.RUN_KEY)
                    self.run_both(p, label)

    def test_update_file(self):
        self.update_cases(["/empty", "/garbage", "/long", "/huge", "/noline", "/missing", "silent server", "refused",
                           "not a url", "5000-character host"])

    # WinINet reports the end of a body cut short by the server as a normal
    # end (InternetReadFile gives TRUE and 0 bytes): the announced length is
    # what tells them apart.
    def test_update_file_cut_short(self):
        self.update_cases(["/cut"])

    def update_cases(self, wanted):
        bodies = {
            "/empty": (200, b""),
            "/garbage": (200, GARBAGE),
            "/long": (200, BIG.encode()),
            "/huge": (200, b"9" * (1 << 20)),
            "/noline": (200, b"4.7"),
            "/missing": (404, b"<html>not found</html>"),
            "/cut": (200, None),  # announces 5000 bytes, sends a few and hangs up
        }

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                code, body = bodies.get(self.path, (404, b""))
                self.send_response(code)
                if body is None:
                    self.send_header("Content-Length", "5000")
                    self.end_headers()
                    self.wfile.write(b"4.8\r\npartial")
                    self.wfile.flush()
                    self.connection.shutdown(socket.SHUT_RDWR)
                    return
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *a):
                pass

        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        silent = socket.socket()  # takes the connection, never answers
        silent.bind(("127.0.0.1", 0))
        silent.listen(5)
        port = server.server_address[1]
        urls = [("http://127.0.0.1:%d%s" % (port, path), path) for path in bodies]
        urls += [("http://127.0.0.1:%d/VER.TXT" % silent.getsockname()[1], "silent server"),
                 ("http://127.0.0.1:1/VER.TXT", "refused"), ("not a url at all", "not a url"),
                 ("http://" + "x" * 5000 + "/VER.TXT", "5000-character host")]
        try:
            with vb.Program() as p:
                for url, label in urls:
                    if label not in wanted:
                        continue
                    with self.subTest(label):
                        p.write_bytes("options.ini", vb.ini_text([("Options", dict(QUIET, AutoUpdate="1",
                                                                                  UpdateURL=url))]))
                        p.write_bytes("last_upd.txt", b"old")
                        t0 = time.monotonic()
                        self.run_both(p, "VER.TXT " + label, settings=False, tick_timeout=90, keep_meter=True)
                        # The check runs beside the meter: its answer is the file's change.
                        changed = vb.wait_for(lambda: p.read_bytes("last_upd.txt") != b"old", 30)
                        rb.close_meter(p)
                        self.assertLess(time.monotonic() - t0, 90, label)
                        self.assertTrue(changed, label)
                        got = p.read_bytes("last_upd.txt")
                        code, body = bodies.get(label, (0, None))
                        if code == 200 and body is not None and len(body) <= 64 * 1024:
                            self.assertEqual(got, body, label)
                        else:
                            # Nothing usable arrived: the old copy no longer describes the last check.
                            self.assertEqual(got, b"", label)
        finally:
            server.shutdown()
            silent.close()


if __name__ == "__main__":
    unittest.main()
