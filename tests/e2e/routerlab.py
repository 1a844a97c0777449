"""A router of the test's own: a second network namespace joined to the
test's by a veth pair, where snmpd and miniupnpd run as on a home router.
Addresses are in the benchmarking range 198.18.0.0/15."""
import os
import socket
import subprocess

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
