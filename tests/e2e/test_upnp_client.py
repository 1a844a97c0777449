"""The UPnP client against a real miniupnpd on a router of the test's own:
this namespace is the PC (lan1), a second one the router (lan0 to the PC,
wan0 to the provider), a third the provider (wan1). The WAN address is in the
benchmarking range, so miniupnpd gives no external address and upnpc calls
the gateway "not connected?", while its own GetStatusInfo says Connected.
A fake gateway on loopback then answers in ways no router should."""
import http.server
import os
import socket
import subprocess
import tempfile
import threading
import time
import unittest

import vtcbench as vb
from routerlab import Namespace, link, start_miniupnpd

vb.enter_namespace()

ROUTER_LAN, PC_LAN = "198.18.0.1", "198.18.0.2"
ROUTER_WAN, PROVIDER = "198.19.0.2", "198.19.0.1"
FRAME = 1514  # "within a packet or two"


def send_udp(ns, src, dst, count, size):
    ns.run("python3", "-c", f"""
import socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("{src}", 0))
for _ in range({count}):
    s.sendto(b"x" * {size}, ("{dst}", 9))
""")


def read(p, *args):
    code, out = p.probe("upnp-read", *args)
    fields = dict(line.split("\t", 1) for line in out.splitlines() if "\t" in line)
    return code, fields


class RealRouter(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.router, cls.provider = Namespace(), Namespace()
        cls.tmp = tempfile.mkdtemp(prefix="vtc-upnp-")
        r, pr = cls.router, cls.provider
        subprocess.run(["ip", "link", "add", "lan1", "type", "veth", "peer", "name", "lan0",
                        "netns", str(r.pid)], check=True)
        r.run("ip", "link", "add", "wan0", "type", "veth", "peer", "name", "wan1", "netns", str(pr.pid))
        r.run("ip", "link", "set", "lo", "up")
        link(r, "lan0", ROUTER_LAN, "pc", "lan1", PC_LAN)
        link(r, "wan0", ROUTER_WAN, pr, "wan1", PROVIDER)
        subprocess.run(["ip", "route", "add", "239.255.255.250/32", "dev", "lan1"], check=True)
        cls.daemon, cls.log = start_miniupnpd(r, cls.tmp, ROUTER_LAN)
        cls.p = vb.Program()

    @classmethod
    def tearDownClass(cls):
        cls.p.close()
        cls.daemon.terminate()
        cls.daemon.wait(10)
        cls.log.close()
        cls.router.close()
        cls.provider.close()

    def test_status_decides_although_upnpc_calls_it_not_connected(self):
        upnpc = subprocess.run(["upnpc", "-s"], capture_output=True, text=True, timeout=30).stdout
        self.assertIn("not connected", upnpc)
        code, got = read(self.p)
        self.assertEqual(code, 0, got)
        self.assertEqual(got["status"], "Connected")
        self.assertEqual(got["name"], "Varnok Test Gateway")

    def test_counters_are_the_wan_links(self):
        send_udp(self.router, ROUTER_WAN, PROVIDER, 300, 1000)
        send_udp(self.provider, PROVIDER, ROUTER_WAN, 200, 1200)
        before = self.router.wan_counters("wan0")
        code, got = read(self.p)
        after = self.router.wan_counters("wan0")
        self.assertEqual(code, 0, got)
        self.assertGreater(before[0], 200 * 1200)
        self.assertGreater(before[1], 300 * 1000)
        for name, b, a in (("received", before[0], after[0]), ("sent", before[1], after[1])):
            self.assertLessEqual(abs(int(got[name]) - b), 2 * FRAME + (a - b), (name, got, before, after))
        self.assertLess(int(got["took"]), 1000)

    def test_the_meter_counts_the_routers_wan_link(self):
        # Found by discovery, online by the router's own status although it
        # has no external address; what crosses wan0 is what the meter counts.
        with vb.Program(options={"Source": "1", "ShowBt": "0", "Statistic": "4"}, tarif=None) as m:
            m.start_meter()
            self.assertTrue(m.wait_ticks(2, timeout=30), "the meter never came online")
            t0, k0 = m.totals(), self.router.wan_counters("wan0")
            send_udp(self.router, ROUTER_WAN, PROVIDER, 400, 1000)
            send_udp(self.provider, PROVIDER, ROUTER_WAN, 300, 1200)

            def caught_up():
                t, k = m.totals(), self.router.wan_counters("wan0")
                moved = (t[0] - t0[0], t[1] - t0[1])
                return all(abs(moved[i] - (k[i] - k0[i])) <= 2 * FRAME for i in (0, 1)) and moved[0] > 300 * 1200
            self.assertTrue(vb.wait_for(caught_up, timeout=15),
                            (m.totals(), t0, self.router.wan_counters("wan0"), k0))

    def test_ways_to_name_the_router(self):
        _, found = read(self.p)
        desc, control = found["router"], found["connection"]
        cases = [
            ((desc,), 0),                       # its description URL
            ((ROUTER_LAN,), 0),                 # its address: SSDP answers from it
            (("198.18.0.9",), 1),               # another address: nothing answers from there
            (("", control), 0),                 # the WAN service by its control URL
            (("", control + "x"), 1),           # a service it does not have
        ]
        for args, want in cases:
            code, got = read(self.p, *args)
            self.assertEqual(code, want, (args, got))
            if want == 0:
                self.assertEqual((got["router"], got["status"]), (desc, "Connected"), args)


DESCRIPTION = """<?xml version="1.0"?>
<root xmlns="urn:schemas-upnp-org:device-1-0"><device>
<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>
<friendlyName>Fake</friendlyName><deviceList><device>
<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType><serviceList><service>
<serviceType>urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1</serviceType>
<controlURL>/cif</controlURL><eventSubURL>/e</eventSubURL><SCPDURL>/s</SCPDURL></service></serviceList>
<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>
<serviceList><service><serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>
<controlURL>/ip</controlURL><eventSubURL>/e</eventSubURL><SCPDURL>/s</SCPDURL></service></serviceList>
</device></deviceList></device></deviceList></device></root>"""


def envelope(action, args):
    inner = "".join(f"<{k}>{v}</{k}>" for k, v in args.items())
    return ('<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/">'
            f'<s:Body><u:{action}Response xmlns:u="x">{inner}</u:{action}Response></s:Body></s:Envelope>')


class FakeGateway(http.server.BaseHTTPRequestHandler):
    misbehave = None  # how the counters' answers go wrong

    def log_message(self, *a):
        pass

    def do_GET(self):
        desc = DESCRIPTION
        if FakeGateway.misbehave == "elsewhere":  # its counters at another host
            desc = desc.replace("<controlURL>/cif", "<controlURL>http://198.18.0.9:80/cif")
        self.reply(desc.encode())

    def do_POST(self):
        self.rfile.read(int(self.headers["Content-Length"]))
        action = self.headers["SOAPAction"].strip('"').split("#")[1]
        if action == "GetStatusInfo":
            return self.reply(envelope(action, {"NewConnectionStatus": "Connected"}).encode())
        name = "NewTotalBytesReceived" if "Received" in action else "NewTotalBytesSent"
        body = envelope(action, {name: "5000000000"}).encode()
        how = FakeGateway.misbehave
        if how == "late":
            time.sleep(3)
        elif how == "endless":
            self.send_response(200)
            self.end_headers()
            chunk = b"<a>" * 4096
            try:
                for _ in range(4000):
                    self.wfile.write(chunk)
            except OSError:
                pass
            return
        elif how == "cut short":
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[:len(body) // 2])
            return
        self.reply(body)

    def reply(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # the client hanging up on a late or endless answer is the point


class HostileGateway(unittest.TestCase):
    def test_answers_that_count_nothing(self):
        server = QuietServer(("127.0.0.1", 0), FakeGateway)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        url = f"http://127.0.0.1:{server.server_address[1]}/desc.xml"
        cases = [  # misbehaviour, counters: a reading is whole or none
            (None, "5000000000"),    # more than 32 bits, as sent
            ("late", "-"),
            ("endless", "-"),
            ("cut short", "-"),
        ]
        with vb.Program() as p:
            for how, want in cases:
                FakeGateway.misbehave = how
                code, got = read(p, url)
                self.assertEqual(code, 0, (how, got))
                self.assertEqual((got["received"], got["sent"]), (want, want), how)
                self.assertEqual(got["status"], "Connected" if want != "-" else "-", how)
                self.assertLess(int(got["took"]), 1000, how)
            # A description that sends the questions to another host is refused.
            FakeGateway.misbehave = "elsewhere"
            self.assertEqual(read(p, url)[0], 1)
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    unittest.main()
