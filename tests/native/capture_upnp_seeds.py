#!/usr/bin/env python3
"""Writes the seeds of fuzz_upnp_reply: the whole HTTP answers of a real
miniupnpd (Debian's package) to what the programs ask of a gateway (its
description and the three queries), and to a query it refuses. Runs
miniupnpd in a private network namespace of its own (needs root):
    python3 tests/native/capture_upnp_seeds.py"""
import os
import re
import socket
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "seeds", "fuzz_upnp_reply")
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from routerlab import start_miniupnpd  # noqa: E402

LAN = "198.18.0.1"


class Here:
    """This namespace, for start_miniupnpd."""

    def popen(self, *cmd, **kw):
        return subprocess.Popen(list(cmd), **kw)


def exchange(request):
    with socket.create_connection((LAN, 5000), timeout=5) as s:
        s.sendall(request)
        out = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return out
            out += chunk


def soap(path, service, action):
    body = ('<?xml version="1.0"?>\r\n<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" '
            's:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><u:%s xmlns:u="%s"></u:%s>'
            '</s:Body></s:Envelope>\r\n' % (action, service, action)).encode()
    head = ("POST %s HTTP/1.1\r\nHost: %s:5000\r\nContent-Length: %d\r\nContent-Type: text/xml; "
            "charset=\"utf-8\"\r\nSOAPAction: \"%s#%s\"\r\nConnection: close\r\n\r\n"
            % (path, LAN, len(body), service, action)).encode()
    return exchange(head + body)


def main():
    if os.environ.get("VTC_NETNS") != "1":
        os.execvpe("unshare", ["unshare", "-n", sys.executable, os.path.abspath(__file__)],
                   dict(os.environ, VTC_NETNS="1"))
    for cmd in ("ip link set lo up", "ip link add lan0 type veth peer name lan1",
                "ip link add wan0 type veth peer name wan1", "ip addr add %s/24 dev lan0" % LAN,
                "ip addr add 198.19.0.2/24 dev wan0"):
        subprocess.run(cmd.split(), check=True)
    for name in ("lan0", "lan1", "wan0", "wan1"):
        subprocess.run(["ip", "link", "set", name, "up"], check=True)
    tmp = tempfile.mkdtemp(prefix="vtc-upnp-seeds-")
    daemon, log = start_miniupnpd(Here(), tmp, LAN)
    try:
        os.makedirs(SEEDS, exist_ok=True)
        desc = exchange(("GET /rootDesc.xml HTTP/1.1\r\nHost: %s:5000\r\nConnection: close\r\n\r\n" % LAN).encode())
        services = dict(re.findall(rb"<serviceType>([^<]+)</serviceType>.*?<controlURL>([^<]+)</controlURL>",
                                   desc, re.S))
        cif = next(t for t in services if b"WANCommonInterfaceConfig" in t)
        conn = next(t for t in services if b"WANIPConnection" in t)
        answers = {
            "description": desc,
            "status_info": soap(services[conn].decode(), conn.decode(), "GetStatusInfo"),
            "bytes_received": soap(services[cif].decode(), cif.decode(), "GetTotalBytesReceived"),
            "bytes_sent": soap(services[cif].decode(), cif.decode(), "GetTotalBytesSent"),
            "fault_unknown_action": soap(services[cif].decode(), cif.decode(), "GetNoSuchThing"),
        }
        for name, data in answers.items():
            with open(os.path.join(SEEDS, name), "wb") as f:
                f.write(data)
            print(name, len(data))
    finally:
        daemon.terminate()
        daemon.wait(10)
        log.close()


if __name__ == "__main__":
    main()
