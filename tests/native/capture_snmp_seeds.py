#!/usr/bin/env python3
"""Writes the seeds of fuzz_snmp_response: the answers of a real snmpd
(Debian's package) to the requests the meter sends, and to a few that draw
out the other value types and the errors. Runs snmpd on loopback in a
private network namespace of its own (needs root):
    python3 tests/native/capture_snmp_seeds.py"""
import os
import socket
import subprocess
import sys
import tempfile
import time

SEEDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds", "fuzz_snmp_response")


def tlv(tag, content):
    n = len(content)
    if n < 0x80:
        head = bytes([n])
    else:
        b = n.to_bytes((n.bit_length() + 7) // 8, "big")
        head = bytes([0x80 | len(b)]) + b
    return bytes([tag]) + head + content


def oid(text):
    arcs = [int(a) for a in text.split(".")]
    out = bytearray([arcs[0] * 40 + arcs[1]])
    for a in arcs[2:]:
        chunk = [a & 0x7F]
        a >>= 7
        while a:
            chunk.append(0x80 | (a & 0x7F))
            a >>= 7
        out += bytes(reversed(chunk))
    return tlv(0x06, bytes(out))


def request(pdu, version, names, rid, community=b"public"):
    binds = b"".join(tlv(0x30, oid(n) + b"\x05\x00") for n in names)
    body = tlv(0x02, rid.to_bytes(4, "big")) + tlv(0x02, b"\x00") * 2 + tlv(0x30, binds)
    return tlv(0x30, tlv(0x02, bytes([version])) + tlv(0x04, community) + tlv(pdu, body))


GET, NEXT = 0xA0, 0xA1
IF = "1.3.6.1.2.1.2.2.1"
HC = "1.3.6.1.2.1.31.1.1.1"
ASKS = [
    ("sysdescr_v2c", GET, 1, ["1.3.6.1.2.1.1.1.0"]),
    ("ifdescr_next_v2c", NEXT, 1, [IF + ".2"]),
    ("ifdescr_next_v1", NEXT, 0, [IF + ".2"]),
    ("row_hc_v2c", GET, 1, [IF + ".8.1", HC + ".6.1", HC + ".10.1"]),
    ("row_32_v1", GET, 0, [IF + ".8.1", IF + ".10.1", IF + ".16.1"]),
    ("hc_on_v1_nosuchname", GET, 0, [HC + ".6.1"]),
    ("nosuchinstance_v2c", GET, 1, [IF + ".2.999"]),
    ("nosuchobject_v2c", GET, 1, ["1.3.6.1.2.1.999.1.0"]),
    ("end_of_mib_v2c", NEXT, 1, ["1.3.6.1.6.3.99"]),
    ("end_of_mib_v1", NEXT, 0, ["1.3.6.1.6.3.99"]),
    ("types_v2c", GET, 1, ["1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.3.0", IF + ".5.1", IF + ".6.1", IF + ".3.1"]),
    ("ipaddress_next_v2c", NEXT, 1, ["1.3.6.1.2.1.4.20.1.1"]),
    ("row_hc_next_v2c", NEXT, 1, [IF + ".2", IF + ".8", HC + ".6", HC + ".10"]),
]


def main():
    if os.environ.get("VTC_NETNS") != "1":
        os.execvpe("unshare", ["unshare", "-n", sys.executable, os.path.abspath(__file__)],
                   dict(os.environ, VTC_NETNS="1"))
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    tmp = tempfile.mkdtemp(prefix="vtc-snmpd-")
    conf = os.path.join(tmp, "snmpd.conf")
    with open(conf, "w") as f:
        f.write("agentAddress udp:127.0.0.1:161\nrocommunity public 127.0.0.1\n")
    agent = subprocess.Popen(["snmpd", "-f", "-Ln", "-C", "-c", conf, "-I", "-smux"],
                             env=dict(os.environ, SNMP_PERSISTENT_DIR=tmp))
    try:
        s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        s.settimeout(0.5)
        os.makedirs(SEEDS, exist_ok=True)
        for rid, (name, pdu, version, names) in enumerate(ASKS, 1000):
            for _ in range(20):  # until snmpd listens
                s.sendto(request(pdu, version, names, rid), ("127.0.0.1", 161))
                try:
                    data = s.recv(65535)
                    break
                except socket.timeout:
                    time.sleep(0.2)
            else:
                sys.exit("snmpd does not answer")
            with open(os.path.join(SEEDS, name), "wb") as f:
                f.write(data)
            print(name, len(data))
    finally:
        agent.terminate()
        agent.wait(10)


if __name__ == "__main__":
    main()
