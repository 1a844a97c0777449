"""A router of the test's own: a second network namespace joined to the
test's by a veth pair, where snmpd and miniupnpd run as on a home router,
and an SNMP agent whose table and manners the test sets (TableAgent).
Addresses are in the benchmarking range 198.18.0.0/15."""
import os
import socket
import subprocess
import threading

import vtcbench as vb


class Namespace:
    """A network namespace held open by a sleeping process."""

    def __init__(self):
        self.holder = subprocess.Popen(["unshare", "-n", "sleep", "600"])
        self.pid = self.holder.pid
        vb.wait_for(lambda: os.readlink(f"/proc/{self.pid}/ns/net") != os.readlink("/proc/self/ns/net"),
                    timeout=5, step=0.02)

    def run(self, *cmd, **kw):
        return subprocess.run(["nsenter", "-t", str(self.pid), "-n"] + list(cmd), check=True, **kw)

    def popen(self, *cmd, **kw):
        return subprocess.Popen(["nsenter", "-t", str(self.pid), "-n"] + list(cmd), **kw)

    def wan_counters(self, iface):
        out = self.run("cat", "/proc/net/dev", capture_output=True, text=True).stdout
        for line in out.splitlines():
            name, _, rest = line.partition(":")
            if name.strip() == iface:
                f = rest.split()
                return int(f[0]), int(f[8])
        raise AssertionError(f"no {iface} in the router's /proc/net/dev")

    def close(self):
        self.holder.kill()
        self.holder.wait()


def link(ns, iface, addr, peer_ns=None, peer=None, peer_addr=None):
    """Addresses and brings up one end (and, given, the other) of a veth pair;
    no IPv6, whose chatter would move the counters under the test. "pc" is
    the test's own namespace."""
    for where, name, a in ((ns, iface, addr), (peer_ns, peer, peer_addr)):
        if where is None:
            continue
        run = where.run if where != "pc" else (lambda *c, **k: subprocess.run(list(c), check=True, **k))
        run("sh", "-c", f"echo 1 > /proc/sys/net/ipv6/conf/{name}/disable_ipv6")
        run("ip", "addr", "add", a + "/24", "dev", name)
        run("ip", "link", "set", name, "up")


def start_miniupnpd(ns, tmp, listen_addr, name="Varnok Test Gateway"):
    """miniupnpd with its WAN on wan0 and its LAN on lan0; (process, log)."""
    conf = os.path.join(tmp, "miniupnpd.conf")
    with open(conf, "w") as f:
        f.write("ext_ifname=wan0\nlistening_ip=lan0\nport=5000\nsecure_mode=yes\n"
                "enable_natpmp=no\nenable_upnp=yes\nsystem_uptime=no\n"
                f"friendly_name={name}\n"
                "uuid=3d3cec3a-8cf0-11e0-98ee-001a6bd2d07b\n"
                "allow 1024-65535 198.18.0.0/24 1024-65535\ndeny 0-65535 0.0.0.0/0 0-65535\n")
    log = open(os.path.join(tmp, "miniupnpd.log"), "w")
    daemon = ns.popen("miniupnpd", "-f", conf, "-d", "-P", os.path.join(tmp, "pid"),
                      stdout=log, stderr=subprocess.STDOUT)

    def listening():
        with socket.socket() as s:
            s.settimeout(0.5)
            return s.connect_ex((listen_addr, 5000)) == 0
    if not vb.wait_for(listening, timeout=15):
        raise AssertionError("miniupnpd does not listen: " + open(log.name).read())
    return daemon, log


def start_snmpd(ns, tmp, listen_addr, community="public", net="198.18.0.0/24"):
    """Debian's snmpd serving the IF-MIB of the namespace's links."""
    conf = os.path.join(tmp, "snmpd.conf")
    with open(conf, "w") as f:
        f.write(f"agentAddress udp:{listen_addr}:161\nrocommunity {community} {net}\n")
    agent = ns.popen("snmpd", "-f", "-Ln", "-C", "-c", conf, "-I", "-smux",
                     env=dict(os.environ, SNMP_PERSISTENT_DIR=tmp),
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def listening():
        out = ns.run("cat", "/proc/net/udp", capture_output=True, text=True).stdout
        return any(":00A1 " in line for line in out.splitlines())  # port 161
    if not vb.wait_for(listening):
        raise AssertionError("snmpd did not start")
    return agent


# --- an SNMP agent of the test's own ------------------------------------------

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


def oid_bytes(arcs):
    out = bytes([40 * arcs[0] + arcs[1]])
    for n in arcs[2:]:
        chunk = [n & 0x7F]
        while n > 0x7F:
            n >>= 7
            chunk.insert(0, 0x80 | (n & 0x7F))
        out += bytes(chunk)
    return out


def oid_arcs(b):
    arcs, v = [b[0] // 40, b[0] % 40], 0
    for c in b[1:]:
        v = (v << 7) | (c & 0x7F)
        if not c & 0x80:
            arcs.append(v)
            v = 0
    return tuple(arcs)


def unsigned(tag, v):
    return tlv(tag, v.to_bytes(v.bit_length() // 8 + 1, "big"))


IF = (1, 3, 6, 1, 2, 1, 2, 2, 1)
HC = (1, 3, 6, 1, 2, 1, 31, 1, 1, 1)
SYS_UPTIME = (1, 3, 6, 1, 2, 1, 1, 3, 0)


class TableAgent:
    """An SNMP agent on a UDP socket that answers v1 and v2c Get and GetNext
    from `mib()`, a {name: value TLV} read afresh for each question, so that
    its counters can move; `answer(n, v1)` says whether the n-th question
    gets its answer (a lossy link, a busy router, an agent of v1 alone)."""

    def __init__(self, address, mib, answer=lambda n, v1: True):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.sock.bind((address, 161))
        self.sock.settimeout(0.2)
        self.mib, self.answer, self.asked = mib, answer, 0
        self.stop = threading.Event()
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def reply(self, data):
        version, community, (tag, pdu) = tlvs(tlvs(data)[0][1])
        rid, _, _, (_, binds) = tlvs(pdu)
        v1 = version[1] == b"\x00"
        mib = self.mib()
        names = sorted(mib)
        out, error, index = [], 0, 0
        for i, (_, vb) in enumerate(tlvs(binds), 1):
            name = oid_arcs(tlvs(vb)[0][1])
            if tag == 0xA1:
                name = next((n for n in names if n > name and not (v1 and mib[n][0] == 0x46)), None)
            value = mib.get(name) if name else None
            if value is None or (v1 and value[0] == 0x46):
                if v1:
                    error, index = error or 2, index or i
                value = b"\x82\x00" if tag == 0xA1 else b"\x81\x00"
                name = name or oid_arcs(tlvs(vb)[0][1])
            out.append(tlv(0x30, tlv(0x06, oid_bytes(name)) + value))
        if error:
            out = [tlv(0x30, tlv(0x06, oid_bytes(oid_arcs(tlvs(vb)[0][1]))) + b"\x05\x00") for _, vb in tlvs(binds)]
        body = tlv(0x02, rid[1]) + tlv(0x02, bytes([error])) + tlv(0x02, bytes([index])) + tlv(0x30, b"".join(out))
        return tlv(0x30, tlv(*version) + tlv(*community) + tlv(0xA2, body))

    def serve(self):
        while not self.stop.is_set():
            try:
                data, peer = self.sock.recvfrom(65535)
            except OSError:
                continue
            self.asked += 1
            if self.answer(self.asked, tlvs(tlvs(data)[0][1])[0][1] == b"\x00"):
                self.sock.sendto(self.reply(data), peer)

    def close(self):
        self.stop.set()
        self.thread.join(5)
        self.sock.close()


def wan_row(index, name, up, rx, tx, uptime_cs, since_cs=0):
    """The cells of one ifTable row and its ifXTable counters, as TableAgent
    wants them: rx and tx 64-bit, their low 32 bits in ifTable."""
    cells = {IF + (2, index): tlv(0x04, name.encode()), IF + (8, index): tlv(0x02, bytes([1 if up else 2])),
             IF + (9, index): unsigned(0x43, since_cs),
             IF + (10, index): unsigned(0x41, rx % 2 ** 32), IF + (16, index): unsigned(0x41, tx % 2 ** 32),
             HC + (6, index): unsigned(0x46, rx), HC + (10, index): unsigned(0x46, tx)}
    cells[SYS_UPTIME] = unsigned(0x43, uptime_cs)
    return cells
