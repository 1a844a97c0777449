"""What asking the router costs: the datagrams and bytes the meter sends to a
router of twenty interface rows (snmpd) in a minute, and the bytes to a UPnP
gateway (miniupnpd); the CPU of the meter's whole Wine prefix in a minute of
router mode beside a minute of local mode; and how long closing the meter
takes while a slow router (every answer 0.3 s late) is being asked, beside
closing it in local mode."""
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import vtcbench as vb  # noqa: E402
from benchenv import prefix_processes_cpu  # noqa: E402
from routerlab import Namespace, link, start_miniupnpd, start_snmpd  # noqa: E402

vb.enter_namespace()
ROUTER_LAN, PC_LAN, ROUTER_WAN = "198.18.0.1", "198.18.0.2", "198.19.0.2"
SLOW = "127.0.0.3"  # a relay that hands every question to snmpd and its answer back late
MINUTE = float(os.environ.get("VTC_BENCH_SECONDS", "60"))


def router_counters(ns):
    """(UDP datagrams, TCP segments, bytes) the router has received on lan0."""
    snmp = ns.run("cat", "/proc/net/snmp", capture_output=True, text=True).stdout.splitlines()
    stats = {}
    for head, values in zip(snmp[::2], snmp[1::2]):
        proto = head.split(":")[0]
        stats.update({proto + "." + k: int(v) for k, v in zip(head.split()[1:], values.split()[1:])})
    return stats["Udp.InDatagrams"], stats["Tcp.InSegs"], ns.wan_counters("lan0")[0]


def running(options):
    p = vb.Program(options=dict(options, ShowBt="0", Statistic="4"), tarif=None)
    p.start_meter()
    if not p.wait_ticks(3, timeout=60):
        p.close()
        raise RuntimeError("the meter never came online: %s" % options)
    return p


def a_minute(ns, options):
    """What the router received and what the prefix spent in MINUTE seconds of a running meter."""
    with running(options) as p:
        r0, c0, t0 = router_counters(ns), prefix_processes_cpu(p.prefix), time.monotonic()
        time.sleep(MINUTE)
        r1, c1, t1 = router_counters(ns), prefix_processes_cpu(p.prefix), time.monotonic()
    scale = 60.0 / (t1 - t0)
    return [(b - a) * scale for a, b in zip(r0, r1)], (c1 - c0) * scale


def slow_relay(stop, delay):
    """Answers every question with snmpd's answer, `delay` seconds late."""
    inside = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    inside.bind((SLOW, 161))
    inside.settimeout(0.1)
    while not stop.is_set():
        try:
            data, peer = inside.recvfrom(65535)
        except OSError:
            continue
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as out:
            out.settimeout(2)
            out.sendto(data, (ROUTER_LAN, 161))
            try:
                reply = out.recv(65535)
            except OSError:
                continue
        time.sleep(delay)
        inside.sendto(reply, peer)
    inside.close()


def closing_time(options):
    """Seconds from the close message until the meter has ended, a few seconds into its run."""
    with running(options) as p:
        time.sleep(3.3)
        started = time.monotonic()
        p.post(vb.TITLE, vb.WM_CLOSE)
        if not p.wait_exit(60):
            raise RuntimeError("the meter did not end")
        return time.monotonic() - started


def main():
    r = Namespace()
    tmp = tempfile.mkdtemp(prefix="vtc-bench-router-")
    subprocess.run(["ip", "link", "add", "lan1", "type", "veth", "peer", "name", "lan0", "netns", str(r.pid)],
                   check=True)
    r.run("ip", "link", "add", "wan0", "type", "veth", "peer", "name", "wan1")
    r.run("ip", "link", "set", "lo", "up")
    r.run("ip", "link", "set", "wan1", "up")
    link(r, "lan0", ROUTER_LAN, "pc", "lan1", PC_LAN)
    link(r, "wan0", ROUTER_WAN)
    for i in range(8):  # twenty rows in all: lo, lan0, wan0, wan1 and these
        r.run("ip", "link", "add", "port%d" % i, "type", "veth", "peer", "name", "peer%d" % i)
    subprocess.run(["ip", "route", "add", "239.255.255.250/32", "dev", "lan1"], check=True)
    subprocess.run(["ip", "route", "add", "default", "via", ROUTER_LAN], check=True)
    daemon, log = start_miniupnpd(r, tmp, ROUTER_LAN)
    agent = start_snmpd(r, tmp, ROUTER_LAN)
    rows = subprocess.run(["snmpwalk", "-v2c", "-c", "public", ROUTER_LAN, "1.3.6.1.2.1.2.2.1.2"],
                          capture_output=True, text=True).stdout.count("\n")
    stop = threading.Event()
    relay = threading.Thread(target=slow_relay, args=(stop, 0.3), daemon=True)
    relay.start()
    try:
        snmp = {"Source": "2", "Router": ROUTER_LAN, "RouterInterface": "wan0"}
        (udp, _, sbytes), router_cpu = a_minute(r, snmp)
        (_, segs, ubytes), _ = a_minute(r, {"Source": "1"})
        _, local_cpu = a_minute(r, {"AutoFind": "24"})
        close_slow = closing_time({"Source": "2", "Router": SLOW, "RouterInterface": "wan0"})
        close_local = closing_time({"AutoFind": "24"})
    finally:
        stop.set()
        relay.join(5)
        for proc in (daemon, agent):
            proc.terminate()
            proc.wait(10)
        log.close()
        r.close()
    print("SNMP, a router of %d interface rows: %.0f datagrams, %.0f bytes to the router per minute"
          % (rows, udp, sbytes))
    print("UPnP: %.0f TCP segments, %.0f bytes to the router per minute" % (segs, ubytes))
    print("CPU of the meter's Wine prefix per minute: %.2f s counting the SNMP router, %.2f s this computer's"
          " interfaces (router / local: %.2f)" % (router_cpu, local_cpu,
                                                  router_cpu / local_cpu if local_cpu > 0 else float("nan")))
    print("closing the meter while a slow router (answers 0.3 s late) is asked: %.2f s; reading this"
          " computer's interfaces: %.2f s" % (close_slow, close_local))
    return 0


if __name__ == "__main__":
    sys.exit(main())
