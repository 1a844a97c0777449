"""The SNMP client under Wine against Debian's snmpd on 127.0.0.1, in a
private network namespace with links of known state: the walk gives the
kernel's rows and counters (64-bit over v2c, 32-bit over v1); a wrong
community is no answer, not a crash; answers to other requests and broken
datagrams are passed over for the one that answers."""
import os
import signal
import socket
import subprocess
import tempfile
import threading
import time
import unittest

import vtcbench as vb
from routerlab import TableAgent, tlv, tlvs, wan_row

vb.enter_namespace()

wait_for = vb.wait_for
UP = {"lo", "wan0", "lan0"}
DOWN = {"off0", "off1"}


def answer(request, id_delta=0, error=0):
    """The request turned into a GetResponse with its null values; another
    request id (`id_delta`) and an error status mark a copy that must not be
    taken."""
    version, community, (_, pdu) = tlvs(tlvs(request)[0][1])
    rid, _, _, binds = tlvs(pdu)
    rid = (int.from_bytes(rid[1], "big", signed=True) + id_delta).to_bytes(4, "big", signed=True)
    body = tlv(0x02, rid) + tlv(0x02, bytes([error])) + tlv(0x02, b"\x00") + tlv(0x30, binds[1])
    return tlv(0x30, tlv(*version) + tlv(*community) + tlv(0xA2, body))


def moving_wan(start, rate=1000000):
    """A router with one row "wan0", up since the agent began, whose counters
    stand at `start` and grow by `rate` bytes each whole second."""
    began = time.monotonic()

    def mib():
        seconds = int(time.monotonic() - began)
        rx = start + rate * seconds
        return wan_row(1, "wan0", True, rx, rx, 100 * seconds + 100)
    return mib


def balloons(p):
    code, out = p.probe("tooltips")
    return [line for line in out.splitlines() if line.strip()] if code == 0 else []


def walk_rows(out):
    rows = {}
    for line in out.splitlines():
        index, up, rx, tx, width, name = line.split("\t", 5)
        rows[name] = (up == "1", int(rx), int(tx), width)
    return rows


class SnmpClient(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # No IPv6, so that links without traffic keep their counters still.
        for path in ("/proc/sys/net/ipv6/conf/all/disable_ipv6", "/proc/sys/net/ipv6/conf/default/disable_ipv6"):
            if os.path.exists(path):
                with open(path, "w") as f:
                    f.write("1")
        subprocess.run(["ip", "link", "add", "off0", "type", "veth", "peer", "name", "off1"], check=True)
        cls.make_wan_link()
        cls.tmp = tempfile.mkdtemp(prefix="vtc-snmpd-")
        conf = os.path.join(cls.tmp, "snmpd.conf")
        with open(conf, "w") as f:
            f.write("agentAddress udp:127.0.0.1:161\nrocommunity public 127.0.0.1\n")
        cls.agent = subprocess.Popen(["snmpd", "-f", "-Ln", "-C", "-c", conf, "-I", "-smux"],
                                     env=dict(os.environ, SNMP_PERSISTENT_DIR=cls.tmp),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.p = vb.Program(programs=False)

        def listening():
            with open("/proc/net/udp") as f:
                return any(":00A1 " in line for line in f)  # port 161
        assert wait_for(listening), "snmpd did not start"

    @classmethod
    def make_wan_link(cls, anew=False):
        if anew:
            subprocess.run(["ip", "link", "del", "wan0"], check=True)
        subprocess.run(["ip", "link", "add", "wan0", "type", "veth", "peer", "name", "lan0"], check=True)
        for name in ("wan0", "lan0"):
            subprocess.run(["ip", "link", "set", name, "up"], check=True)
        # A neighbour that never answers: what is sent to it leaves by wan0
        # and arrives at lan0, and nothing else moves their counters.
        subprocess.run(["ip", "addr", "add", "198.18.0.1/24", "dev", "wan0"], check=True)
        subprocess.run(["ip", "neigh", "add", "198.18.0.2", "lladdr", "02:00:00:00:00:02", "dev", "wan0",
                        "nud", "permanent"], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.p.close()
        cls.agent.terminate()
        cls.agent.wait(10)

    def test_walk_gives_the_kernels_rows_and_counters(self):
        vb.send_loopback(3 * 1024 * 1024)
        rx_after, _ = vb.netdev("lo")
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
            for _ in range(3000):
                s.sendto(b"x" * 1000, ("198.18.0.2", 9))
        wan_tx = vb.netdev("wan0")[1]
        self.assertGreater(wan_tx, 3000 * 1000)

        def walked():
            code, out = self.p.probe("snmp-walk", "127.0.0.1", "public", "2c")
            rows = walk_rows(out) if code == 0 else {}
            # snmpd keeps its table a few seconds: wait until it holds the sending.
            if rows.get("lo", (0, 0))[1] >= rx_after and rows.get("wan0", (0, 0, 0))[2] == wan_tx:
                return rows
            return None
        v2c = wait_for(walked, timeout=30)
        self.assertTrue(v2c, "the walk never showed the loopback traffic")
        code, out = self.p.probe("snmp-walk", "127.0.0.1", "public", "1")
        self.assertEqual(code, 0)
        v1 = walk_rows(out)
        for version, rows, width in (("v2c", v2c, "64"), ("v1", v1, "32")):
            self.assertEqual(set(rows), UP | DOWN, version)
            for name, (up, rx, tx, w) in rows.items():
                kernel_rx, kernel_tx = vb.netdev(name)
                self.assertEqual(up, name in UP, (version, name))
                self.assertEqual(w, width, (version, name))
                self.assertLessEqual(rx, kernel_rx, (version, name))
                self.assertLessEqual(tx, kernel_tx, (version, name))
                if name != "lo":
                    self.assertEqual((rx, tx), (kernel_rx, kernel_tx), (version, name))

    def test_the_meter_counts_the_routers_wan_link_through_a_silence(self):
        # The agent stopped for 20 s: one balloon, nothing lost; its counters
        # kept what passed and the next answer brings it. Past the balloon
        # the online seconds wait for the router's record, which shows its
        # link up all along: they are kept, each priced by the time tariff.
        options = {"Source": "2", "Router": "127.0.0.1", "RouterInterface": "wan0", "ShowBt": "0",
                   "Statistic": "4"}
        tarif = [("Повременный", dict({str(d): "1" for d in range(1, 8)}, st="0", et="2359", costt="0.01"))]
        with vb.Program(options=options, tarif=tarif) as m:
            m.start_meter()
            self.assertTrue(m.wait_ticks(2, timeout=30), "the meter never came online")
            t0, k0 = m.totals()[1], vb.netdev("wan0")[1]

            def send(n):
                with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
                    for _ in range(n):
                        s.sendto(b"x" * 1000, ("198.18.0.2", 9))

            def caught_up():
                return m.totals()[1] - t0 == vb.netdev("wan0")[1] - k0
            send(2000)
            self.assertTrue(wait_for(caught_up, timeout=30), (m.totals(), t0, vb.netdev("wan0"), k0))
            seconds0, at0 = m.totals()[3], time.monotonic()
            os.kill(self.agent.pid, signal.SIGSTOP)
            try:
                send(1000)
                said = wait_for(lambda: [b for b in balloons(m) if "Роутер не отвечает" in b], timeout=25)
                self.assertEqual(said, ["Роутер не отвечает: 127.0.0.1"])
                self.assertLess(m.totals()[1] - t0, vb.netdev("wan0")[1] - k0)
                held = m.totals()[3]
                self.assertLessEqual(held - seconds0, 12)
                wait_for(lambda: time.monotonic() - at0 >= 20, timeout=25)
                self.assertEqual(m.totals()[3], held)  # seconds held aside, not counted
            finally:
                os.kill(self.agent.pid, signal.SIGCONT)
            self.assertTrue(wait_for(caught_up, timeout=30), (m.totals(), t0, vb.netdev("wan0"), k0))
            self.assertTrue(wait_for(lambda: m.totals()[3] - seconds0 >= time.monotonic() - at0 - 2, timeout=10),
                            (m.totals(), seconds0, time.monotonic() - at0))
            _, _, money, seconds = m.totals()
            self.assertAlmostEqual(money, seconds * 0.01, delta=0.015)  # a tick may fall between the two

            # A router reboot: the WAN link made anew, its counters from 0.
            # What passes after it is counted, and nothing is invented.
            before = m.totals()[1]
            self.make_wan_link(anew=True)
            send(500)
            self.assertTrue(wait_for(lambda: m.totals()[1] - before == vb.netdev("wan0")[1], timeout=30),
                            (m.totals(), before, vb.netdev("wan0")))

    def test_what_an_agent_answers_is_counted_exactly_and_nothing_more(self):
        # Counters a million bytes on each second. A v1 agent 2.5 MB below
        # the 32-bit end: each million counts across the wrap, never a
        # restart. A v2c agent past 4 GiB that misses a question in seven:
        # nothing counted from its 32-bit v1 counters, nothing invented.
        options = {"Source": "2", "Router": "127.0.0.2", "RouterInterface": "wan0", "ShowBt": "0", "Statistic": "4"}
        cases = [("v1 alone across the wrap", 2 ** 32 - 2500000, lambda n, v1: v1),
                 ("v2c past 4 GiB, a question in seven lost", 5 * 2 ** 30 + 12345, lambda n, v1: n % 7 != 0)]
        for what, start, manners in cases:
            with self.subTest(what):
                agent = TableAgent("127.0.0.2", moving_wan(start), manners)
                try:
                    with vb.Program(options=options, tarif=None) as m:
                        m.start_meter()
                        started = time.monotonic()
                        self.assertTrue(wait_for(lambda: (m.totals()[0] or 0) >= 4000000, timeout=40), m.totals())
                        time.sleep(3)
                        counted = m.totals()[0]
                        self.assertEqual(counted % 1000000, 0, counted)
                        self.assertLessEqual(counted, 1000000 * (time.monotonic() - started), counted)
                finally:
                    agent.close()

    def test_wrong_community_is_no_answer(self):
        started = time.monotonic()
        code, out = self.p.probe("snmp-walk", "127.0.0.1", "private", "2c")
        self.assertEqual((code, out), (3, ""))
        self.assertLess(time.monotonic() - started, 10)

    def test_only_the_answer_to_the_request_is_taken(self):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sock.bind(("127.0.0.1", 0))
        port = sock.getsockname()[1]
        seen = []

        def serve():
            data, peer = sock.recvfrom(65535)
            seen.append(data)
            for reply in (b"\x30\x84\xff\xff\xff\xff\x02\x01", answer(data, id_delta=1, error=5),
                          answer(data, id_delta=-1, error=5), answer(data)[:-1], answer(data)):
                sock.sendto(reply, peer)
        t = threading.Thread(target=serve, daemon=True)
        t.start()
        code, out = self.p.probe("snmp-get", "127.0.0.1:%d" % port, "public", "2c", "1.3.6.1.2.1.1.1.0")
        t.join(10)
        sock.close()
        self.assertEqual(len(seen), 1)
        self.assertEqual((code, out.splitlines()[:1]), (0, ["0"]), out)


if __name__ == "__main__":
    unittest.main()
