"""The update check of the running meter against a small HTTP server on
127.0.0.1 inside the test's network namespace, pointed at by UpdateURL in
options.ini: a new version is announced by a balloon (even with ShowBt off)
and its body kept in last_upd.txt, the menu's check answers by message box
and only for a new version, and a server that never answers holds neither
the meter's ticks nor its menu nor its exit. (Which answers are a new
version, and what a failed check leaves in the file, is the unit tests' with
their own server.)

The notification area draws balloons as tooltip windows; the probe lists the
texts of the visible ones, and a screenshot shows the title."""
import http.server
import os
import socket
import threading
import time
import unittest

import vtcbench as vb

vb.enter_namespace()

SHOTS = os.environ.get("VTC_SHOTS", "/tmp/shots")
NOTICE = "Доступна новая версия программы!"
BASE = {"AutoFind": "24", "ShowBt": "0", "AlphaBlend": "255", "Look": "Default", "Statistic": "5",
        "Left": "300", "Top": "300", "Visible": "1"}
TARIFF = [("Весь день", {"st": "0", "et": "2359"})]


wait_for = vb.wait_for

class Server:
    """Answers GET with (status, body) for the path; counts requests."""

    def __init__(self, routes):
        outer = self
        self.requests = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                outer.requests.append((self.path, dict(self.headers)))
                status, body, headers = routes.get(self.path, (404, b"<html>Not found</html>", {}))
                self.send_response(status)
                for k, v in headers.items():
                    self.send_header(k, v)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        class HttpServer(http.server.ThreadingHTTPServer):
            def verify_request(self, request, client_address):
                outer.connections += 1
                return True

        self.connections = 0
        self.httpd = HttpServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class SilentServer:
    """Accepts connections and never says a word."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(8)
        self.url = "http://127.0.0.1:%d" % self.sock.getsockname()[1]
        self.held = []
        self.thread = threading.Thread(target=self._accept, daemon=True)
        self.thread.start()

    def _accept(self):
        while True:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            self.held.append(conn)

    def close(self):
        # A bare close leaves the thread blocked in accept() on a descriptor
        # number that the next test's server may be given: it would then
        # swallow that server's connections. Shutting the listener down wakes
        # the thread first.
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.thread.join(5)
        self.sock.close()
        for c in self.held:
            c.close()


def balloons(p):
    code, out = p.probe("tooltips")
    return [l for l in out.splitlines() if l.strip()] if code == 0 else []


def session_time(p):
    for t in p.window_texts(vb.TITLE):
        if t["id"] == 111:
            return t["text"]
    return None


def ticking(p):
    t = session_time(p)
    return t not in (None, "?", "00:00:00")


def choose_check_for_update(p):
    """The menu's item "Проверить обновление", chosen by its command as the
    menu does. Posted: a new version is answered by a message box, which
    holds the handler until it is closed."""
    assert p.menu_command("kMenuUpdate", wait=False)


def message_box(p, title="qmeter"):
    code, out = p.probe("msgbox", title)
    return out if code == 0 else None


class UpdateCheck(unittest.TestCase):
    def test_a_new_version_is_announced_and_the_body_kept_byte_for_byte(self):
        body = b"4.8\r\n\xcd\xee\xe2\xee\xe5: fixes\n\x1a\x00\xff tail"
        server = Server({"/VER.TXT": (200, body, {"Content-Type": "text/plain"})})
        self.addCleanup(server.close)
        p = vb.Program(options=dict(BASE, AutoUpdate="1", UpdateURL=server.url + "/VER.TXT"), tarif=TARIFF)
        self.addCleanup(p.close)
        p.start_meter()
        self.assertTrue(wait_for(lambda: server.requests, 30),
                        "the meter did not ask for %s (%d connections; session time %r)"
                        % (server.url, server.connections, session_time(p)))
        self.assertEqual(server.requests[0][0], "/VER.TXT")
        # Wine's notification area shows a balloon about two seconds after it was asked.
        self.assertTrue(wait_for(lambda: [b for b in balloons(p) if NOTICE in b], 10.0), "no balloon for 4.8")
        p.screenshot(os.path.join(SHOTS, "i7_update_balloon_4.8.png"))
        self.assertEqual(p.read_bytes("last_upd.txt"), body)

    def first_tick(self, options, files=None):
        """Starts the meter; returns the seconds until its first tick, and the program."""
        p = vb.Program(options=options, tarif=TARIFF, files=files)
        self.addCleanup(p.close)
        t0 = time.monotonic()
        p.start_meter()
        self.assertTrue(wait_for(lambda: ticking(p), 25), "the meter never ticked")
        return time.monotonic() - t0, p

    def test_a_silent_server_holds_neither_the_ticks_nor_the_menu(self):
        plain, q = self.first_tick(dict(BASE, AutoUpdate="0"))
        q.close()
        server = SilentServer()
        self.addCleanup(server.close)
        took, p = self.first_tick(dict(BASE, AutoUpdate="1", UpdateURL=server.url + "/VER.TXT"),
                                  files={"last_upd.txt": b"kept"})
        print("first tick %.1f s after start with a silent update server, %.1f s without a check" % (took, plain))
        self.assertTrue(wait_for(lambda: server.held, 5), "the meter did not connect")
        # A silent server is given up only after the check's time-outs (about
        # 10 s), and the file is written then: the tick came first.
        self.assertEqual(p.read_bytes("last_upd.txt"), b"kept")
        self.assertLess(took, plain + 3.0)
        # The menu's commands are handled while the check waits.
        self.assertTrue(p.menu_command("kMenuAbout"), "the meter did not answer while the check waited")
        self.assertTrue(p.wait_window("О программе...", 10, visible=True), "the About window did not come")
        self.assertEqual(p.read_bytes("last_upd.txt"), b"kept", "the check was no longer waiting")
        self.assertFalse([b for b in balloons(p) if NOTICE in b])
        # Nor does it hold the exit.
        p.post(vb.TITLE, vb.WM_CLOSE)
        self.assertTrue(p.wait_exit(5), "the meter did not end while the check waited")

    def test_the_menu_check_answers_by_message_box_and_only_when_new(self):
        for body, expected in ((b"4.9\r\n", True), (b"4.7", False)):
            with self.subTest(body=body):
                server = Server({"/VER.TXT": (200, body, {})})
                self.addCleanup(server.close)
                opts = dict(BASE, AutoUpdate="0", UpdateURL=server.url + "/VER.TXT")
                with vb.Program(options=opts, tarif=TARIFF) as p:
                    p.start_meter()
                    self.assertTrue(wait_for(lambda: ticking(p), 20))
                    self.assertEqual(server.requests, [])  # no automatic check
                    choose_check_for_update(p)
                    self.assertTrue(wait_for(lambda: server.requests, 20), "the menu item did not ask")
                    box = wait_for(lambda: message_box(p), 6.0 if expected else 3.0)
                    if expected:
                        p.screenshot(os.path.join(SHOTS, "i7_update_msgbox_4.9.png"))
                        self.assertIn('Доступна новая версия программы "Varnok Traffic Counter 4.9"!', box or "")
                        p.probe("msgbox", "qmeter", "ok")
                        self.assertTrue(wait_for(lambda: ticking(p), 5))
                    else:
                        self.assertFalse(box)
                    self.assertEqual(p.read_bytes("last_upd.txt"), body)
                    self.assertFalse([b for b in balloons(p) if NOTICE in b])


if __name__ == "__main__":
    unittest.main()
