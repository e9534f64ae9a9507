#!/usr/bin/env python3
"""A loopback HTTP server that misbehaves on request, for the HTTP tests.

It listens on 127.0.0.1 and answers by the path of the request (a proxy
request's absolute URL counts by its path too):

  /echo              200 "ok"
  /cookies           200 with three Set-Cookie lines in mixed letter case
  /set-store         200 setting the cookie store_probe=1 (for the client's own store)
  /big-headers       200 with over 20 KB of header lines, Set-Cookie lines last
  /big-body?mib=N    200 with an N MiB body (default 10, at most 64), byte i being i % 251
  /zero-bytes        200 with a body holding zero bytes
  /reset             promises 1 MiB, sends 64 KiB of it, then resets the connection
  /stall?seconds=S   promises 1000 bytes, sends 10, waits S seconds (at most 10), closes
  /no-answer         reads the request and closes without a word
  /redirect/N        302 to /redirect/N-1 setting hopN=1; /redirect/0 answers 200
  /status/500        500 with a body and a Set-Cookie line
  anything else      404
  CONNECT            502, so an https request through this "proxy" ends at once

Every request is recorded before it is answered: one file per request in the
record directory, named by a six-digit sequence number from 000001 plus
".req", holding the exact bytes received (request line, header lines, empty
line, body as far as Content-Length says). Files appear by rename, so a
reader never sees half of one.

Next to the listening port the server holds a second port bound but never
listening, so a connection to it is refused. Once both are ready it writes
"PORT REFUSED_PORT" to the ready file. It ends by itself after --lifetime
seconds, and every connection is bounded by a socket time-out.
"""

import argparse
import os
import socket
import struct
import threading
import time
import urllib.parse

MIB = 1024 * 1024
DEFAULT_BIG_BODY_MIB = 10
MAX_BIG_BODY_MIB = 64
PATTERN_PERIOD = 251
CONNECTION_TIMEOUT = 15
MAX_STALL = 10
ZERO_BYTES_BODY = b"ab\x00cd\x00\x00e"
STORE_COOKIE = "store_probe=1; path=/"
MIXED_CASE_COOKIES = [
    "Set-Cookie: sid=1; path=/",
    "set-cookie: uid=2; HttpOnly",
    "Set-Cookie: t=3",
]


def pattern(size):
    block = bytes(range(PATTERN_PERIOD))
    return (block * (size // PATTERN_PERIOD + 1))[:size]


BIG_BODY = pattern(MAX_BIG_BODY_MIB * MIB)


class Recorder:
    def __init__(self, directory):
        self.directory = directory
        self.number = 0
        self.lock = threading.Lock()
        os.makedirs(directory, exist_ok=True)

    def record(self, data):
        with self.lock:
            self.number += 1
            name = os.path.join(self.directory, "%06d" % self.number)
            with open(name + ".tmp", "wb") as f:
                f.write(data)
            os.rename(name + ".tmp", name + ".req")


def read_request(conn):
    """The request's exact bytes, or None when the client sent nothing whole."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return data or None
        data += chunk
    head, _, rest = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip() or 0)
    while len(rest) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        rest += chunk
    return head + b"\r\n\r\n" + rest


def response(status, headers=(), body=b"", head_only=False):
    # The caller's lines come last, so Set-Cookie lines end the block.
    lines = ["HTTP/1.1 " + status, "Content-Length: %d" % len(body), "Connection: close"]
    lines += list(headers)
    data = ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")
    return data if head_only else data + body


def reset(conn):
    # SO_LINGER with a zero time-out makes close() send a reset.
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    conn.close()


def serve_one(conn, recorder):
    conn.settimeout(CONNECTION_TIMEOUT)
    request = read_request(conn)
    if request is None:
        return
    recorder.record(request)
    request_line = request.split(b"\r\n", 1)[0].decode("latin-1")
    parts = request_line.split(" ")
    method = parts[0]
    target = parts[1] if len(parts) > 1 else "/"
    url = urllib.parse.urlsplit(target)
    path, query = url.path, urllib.parse.parse_qs(url.query)
    head_only = method == "HEAD"

    if method == "CONNECT":
        conn.sendall(response("502 Bad Gateway"))
    elif path == "/echo":
        conn.sendall(response("200 OK", ["Content-Type: text/plain"], b"ok", head_only))
    elif path == "/cookies":
        conn.sendall(response("200 OK", MIXED_CASE_COOKIES, b"cookies", head_only))
    elif path == "/set-store":
        conn.sendall(response("200 OK", ["Set-Cookie: " + STORE_COOKIE], b"stored", head_only))
    elif path == "/big-headers":
        filler = ["X-Filler-%03d: %s" % (i, "f" * 200) for i in range(110)]
        cookies = ["Set-Cookie: big1=1; path=/", "Set-Cookie: big2=2"]
        conn.sendall(response("200 OK", filler + cookies, b"big headers", head_only))
    elif path == "/big-body":
        mib = min(int(query.get("mib", [DEFAULT_BIG_BODY_MIB])[0]), MAX_BIG_BODY_MIB)
        body = memoryview(BIG_BODY)[: mib * MIB]
        conn.sendall(response("200 OK", ["Content-Type: application/octet-stream"], body))
    elif path == "/zero-bytes":
        conn.sendall(response("200 OK", [], ZERO_BYTES_BODY))
    elif path == "/reset":
        head = "HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % (1024 * 1024)
        conn.sendall(head.encode("latin-1") + pattern(64 * 1024))
        time.sleep(0.3)
        reset(conn)
    elif path == "/stall":
        seconds = min(float(query.get("seconds", ["2"])[0]), MAX_STALL)
        head = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n"
        conn.sendall(head.encode("latin-1") + b"0123456789")
        time.sleep(seconds)
    elif path == "/no-answer":
        pass
    elif path.startswith("/redirect/"):
        hops = int(path.rsplit("/", 1)[1] or 0)
        cookie = "Set-Cookie: hop%d=1" % hops
        if hops > 0:
            location = "Location: /redirect/%d" % (hops - 1)
            conn.sendall(response("302 Found", [location, cookie], b"moved", head_only))
        else:
            conn.sendall(response("200 OK", [cookie], b"chain end", head_only))
    elif path == "/status/500":
        conn.sendall(response("500 Internal Server Error", ["Set-Cookie: e=5"], b"fail", head_only))
    else:
        conn.sendall(response("404 Not Found", [], b"missing", head_only))


def handle(conn, recorder):
    try:
        serve_one(conn, recorder)
    except OSError:
        pass
    finally:
        try:
            conn.close()
        except OSError:
            pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--record", required=True, help="directory for the request records")
    parser.add_argument("--ready-file", required=True, help='receives "PORT REFUSED_PORT"')
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()

    recorder = Recorder(args.record)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", args.port))
    listener.listen(64)
    refusing = socket.socket()
    refusing.bind(("127.0.0.1", 0))

    ready = args.ready_file + ".tmp"
    with open(ready, "w") as f:
        f.write("%d %d\n" % (listener.getsockname()[1], refusing.getsockname()[1]))
    os.rename(ready, args.ready_file)

    deadline = time.monotonic() + args.lifetime
    while time.monotonic() < deadline:
        listener.settimeout(max(0.1, min(1.0, deadline - time.monotonic())))
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            continue
        threading.Thread(target=handle, args=(conn, recorder), daemon=True).start()


if __name__ == "__main__":
    main()
