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

vb.enter_namespace()

wait_for = vb.wait_for
UP = {"lo", "wan0", "lan0"}
DOWN = {"off0", "off1"}


def tlv(tag, content):
    n = len(content)
    head = bytes([n]) if n < 0x80 else bytes([0x82]) + n.to_bytes(2, "big")
    return bytes([tag]) + head + content


def tlvs(b):
    out, i = [], 0
    while i < len(b):
        tag, n = b[i], b[i + 1]
        i += 2
        if n & 0x80:
            k = n & 0x7F
            n = int.from_bytes(b[i:i + k], "big")
            i += k
        out.append((tag, b[i:i + n]))
        i += n
    return out


def answer(request, id_delta=0, error=0):
    """The request turned into a GetResponse with its null values; another
    request id (`id_delta`) and an error status mark a copy that must not be
    taken."""
    version, community, (_, pdu) = tlvs(tlvs(request)[0][1])
    rid, _, _, binds = tlvs(pdu)
    rid = (int.from_bytes(rid[1], "big", signed=True) + id_delta).to_bytes(4, "big", signed=True)
    body = tlv(0x02, rid) + tlv(0x02, bytes([error])) + tlv(0x02, b"\x00") + tlv(0x30, binds[1])
    return tlv(0x30, tlv(*version) + tlv(*community) + tlv(0xA2, body))


def oid(text):
    parts = [int(x) for x in text.split(".")]
    out = bytes([40 * parts[0] + parts[1]])
    for n in parts[2:]:
        chunk = [n & 0x7F]
        while n > 0x7F:
            n >>= 7
            chunk.insert(0, 0x80 | (n & 0x7F))
        out += bytes(chunk)
    return out


IF_DESCR, IF_OPER, IF_IN, IF_OUT = (oid("1.3.6.1.2.1.2.2.1.%d" % c) for c in (2, 8, 10, 16))


def v1_ifdescr_agent(request, counter):
    """The answer of an agent with one interface "wan0" that speaks v1 alone
    (nothing to v2c), its counters a million bytes on at each reading."""
    version, community, (tag, pdu) = tlvs(tlvs(request)[0][1])
    if version[1] != b"\x00":
        return None
    rid, _, _, binds = tlvs(pdu)
    names = [tlvs(vb)[0][1] for _, vb in tlvs(binds[1])]
    error, values = 0, []
    if tag == 0xA1:  # GetNext: the one row of ifDescr, then the column's end
        if names[0] == IF_DESCR:
            names, values = [IF_DESCR + b"\x01"], [tlv(0x04, b"wan0")]
        else:
            error = 2
    elif tag == 0xA0 and names == [IF_OPER + b"\x01", IF_IN + b"\x01", IF_OUT + b"\x01"]:
        counter[0] = (counter[0] + 1000000) % 2 ** 32
        c = counter[0].to_bytes(5, "big")
        while len(c) > 1 and c[0] == 0 and c[1] < 0x80:
            c = c[1:]
        values = [tlv(0x02, b"\x01"), tlv(0x41, c), tlv(0x41, c)]
    else:
        error = 2
    if error:
        values = [tlv(0x05, b"")] * len(names)
    vbl = b"".join(tlv(0x30, tlv(0x06, n) + v) for n, v in zip(names, values))
    body = tlv(0x02, rid[1]) + tlv(0x02, bytes([error])) + tlv(0x02, bytes([1 if error else 0])) + tlv(0x30, vbl)
    return tlv(0x30, tlv(*version) + tlv(*community) + tlv(0xA2, body))


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
        # The agent stopped for a while: one balloon, nothing lost; its
        # counters kept what passed and the next answer brings it.
        options = {"Source": "2", "Router": "127.0.0.1", "RouterInterface": "wan0", "ShowBt": "0",
                   "Statistic": "4"}
        with vb.Program(options=options, tarif=None) as m:
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
            os.kill(self.agent.pid, signal.SIGSTOP)
            try:
                send(1000)
                said = wait_for(lambda: [b for b in balloons(m) if "Роутер не отвечает" in b], timeout=25)
                self.assertEqual(said, ["Роутер не отвечает: 127.0.0.1"])
                self.assertLess(m.totals()[1] - t0, vb.netdev("wan0")[1] - k0)
            finally:
                os.kill(self.agent.pid, signal.SIGCONT)
            self.assertTrue(wait_for(caught_up, timeout=30), (m.totals(), t0, vb.netdev("wan0"), k0))

            # A router reboot: the WAN link made anew, its counters from 0.
            # What passes after it is counted, and nothing is invented.
            before = m.totals()[1]
            self.make_wan_link(anew=True)
            send(500)
            self.assertTrue(wait_for(lambda: m.totals()[1] - before == vb.netdev("wan0")[1], timeout=30),
                            (m.totals(), before, vb.netdev("wan0")))

    def test_a_v1_agent_across_a_32_bit_wrap(self):
        # An agent that answers v1 alone, with 32-bit counters a million bytes
        # apart at each answer, from 2.5 MB below the end: the meter takes it
        # by v1 and counts each million across the wrap, never a restart.
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sock.bind(("127.0.0.2", 161))
        counter = [2 ** 32 - 2500000]
        stop = threading.Event()

        def serve():
            sock.settimeout(0.2)
            while not stop.is_set():
                try:
                    data, peer = sock.recvfrom(65535)
                except OSError:
                    continue
                reply = v1_ifdescr_agent(data, counter)
                if reply:
                    sock.sendto(reply, peer)
        t = threading.Thread(target=serve, daemon=True)
        t.start()
        try:
            options = {"Source": "2", "Router": "127.0.0.2", "RouterInterface": "wan0", "ShowBt": "0",
                       "Statistic": "4"}
            with vb.Program(options=options, tarif=None) as m:
                m.start_meter()
                self.assertTrue(wait_for(lambda: (m.totals()[0] or 0) >= 4000000, timeout=40), m.totals())
                self.assertEqual(m.totals()[0] % 1000000, 0, m.totals())
        finally:
            stop.set()
            t.join(5)
            sock.close()

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
