#!/usr/bin/env python3
"""A forward HTTP proxy on loopback for the update test, as a corporate network puts one in
front of the Internet: GET with an absolute address, and CONNECT for HTTPS. It knows names that
nothing else resolves (NAME=ADDRESS), so a request that reaches the server came through it, and
it writes the head of every request it is sent to LOG.

    http_proxy.py PORT LOG [NAME=ADDRESS]...
"""

import select
import socket
import sys
import threading

IDLE_SECONDS = 30


def relay(a, b):
    try:
        while True:
            ready, _, _ = select.select([a, b], [], [], IDLE_SECONDS)
            if not ready:
                return
            for side in ready:
                data = side.recv(65536)
                if not data:
                    return
                (b if side is a else a).sendall(data)
    finally:
        a.close()
        b.close()


def serve(client, log, names, lock):
    reader = client.makefile("rb")
    head = [reader.readline()]
    while head[-1] not in (b"\r\n", b"\n", b""):
        head.append(reader.readline())
    if not head[0].strip():
        client.close()  # a look whether the port is open
        return
    with lock, open(log, "ab") as out:
        out.write(b"".join(head))
    method, target, version = head[0].decode("latin-1").split()
    if method == "CONNECT":
        host, _, port = target.rpartition(":")
        upstream = socket.create_connection((names.get(host, host), int(port)))
        client.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
    else:
        authority, _, path = target.split("://", 1)[1].partition("/")
        host, _, port = authority.partition(":")
        upstream = socket.create_connection((names.get(host, host), int(port or 80)))
        upstream.sendall(f"{method} /{path} {version}\r\n".encode() + b"".join(head[1:]))
    # A GET carries no body, and a tunnel's client waits for the answer above before it speaks.
    relay(client, upstream)


def main(port, log, *mappings):
    names = dict(mapping.split("=", 1) for mapping in mappings)
    lock = threading.Lock()
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", int(port)))
    listener.listen(16)
    while True:
        client, _ = listener.accept()
        threading.Thread(target=serve, args=(client, log, names, lock), daemon=True).start()


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
