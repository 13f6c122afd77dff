#!/usr/bin/env python3
"""A scripted HTTP server for the fetch tests: answers by path, records each raw request.

  scripted_server.py start DIR   starts the server in the background and returns once it listens;
                                 DIR/port holds its port, DIR/refused_port a port that refuses
                                 connections, DIR/port80 "80" when port 80 could be had too.
  scripted_server.py stop DIR    ends it.

A request path is /<tag>/<scenario...>; the raw bytes of every request are appended to
DIR/<tag>.req. Scenarios:
  len/<announced>/<n>   Content-Length: <announced> ("none": no header), then n body bytes
                        (byte i is i % 251)
  status404             404 with the body "no such page\n"
  reset/<n>[/<ann>]     announces <ann> (default 2n; "none": no header), sends n bytes, then
                        resets the connection
  hang                  reads the request and never answers
  endless               no length, body bytes until the client goes away
  redirect              302 to /<tag>/len/5/5 on the same server
  redirectloop          302 to itself, again and again
  drip/<n>              no length, then n body bytes one a second, then the end
  garbage               a status line that is not HTTP, a header-like line, then "2.0"
  auth                  401 asking for Basic authentication unless the request carries
                        Authorization, then 200 with the body "authorized"
  anything else         200 with the body "ok"
"""
import os
import signal
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse


def body_bytes(n):
    return bytes(i % 251 for i in range(n))


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = sock.recv(65536)
            if not chunk:
                break
            data += chunk
        if not data:
            return
        line = data.split(b"\r\n", 1)[0].decode("latin-1")
        parts = line.split(" ")
        target = parts[1] if len(parts) > 1 else "/"
        path = urllib.parse.urlsplit(target).path
        pieces = [urllib.parse.unquote(p) for p in path.split("/")[1:]]
        tag = pieces[0] if pieces and pieces[0] else "untagged"
        safe = "".join(c for c in tag if c.isalnum() or c in "-_") or "untagged"
        with open(os.path.join(self.server.record_dir, safe + ".req"), "ab") as f:
            f.write(data)
        scenario = pieces[1:] if len(pieces) > 1 else []
        name = scenario[0] if scenario else ""
        try:
            if name == "len":
                announced, n = scenario[1], int(scenario[2])
                head = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n"
                if announced != "none":
                    head += "Content-Length: %s\r\n" % announced
                sock.sendall(head.encode("latin-1") + b"\r\n" + body_bytes(n))
            elif name == "status404":
                body = b"no such page\n"
                sock.sendall(b"HTTP/1.0 404 Not Found\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
            elif name == "reset":
                n = int(scenario[1])
                announced = scenario[2] if len(scenario) > 2 else str(2 * n)
                head = "HTTP/1.0 200 OK\r\n"
                if announced != "none":
                    head += "Content-Length: %s\r\n" % announced
                sock.sendall(head.encode("latin-1") + b"\r\n" + body_bytes(n))
                time.sleep(0.3)
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()  # now, before the server's own shutdown sends an orderly end
            elif name == "hang":
                sock.settimeout(300)
                while sock.recv(65536):
                    pass
            elif name == "redirect":
                location = "http://127.0.0.1:%d/%s/len/5/5" % (self.server.server_address[1], tag)
                sock.sendall(("HTTP/1.0 302 Found\r\nLocation: %s\r\nContent-Length: 5\r\n\r\nmoved"
                              % location).encode("latin-1"))
            elif name == "redirectloop":
                location = "http://127.0.0.1:%d/%s/redirectloop" % (self.server.server_address[1], tag)
                sock.sendall(("HTTP/1.0 302 Found\r\nLocation: %s\r\nContent-Length: 5\r\n\r\nmoved"
                              % location).encode("latin-1"))
            elif name == "drip":
                sock.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n")
                for byte in body_bytes(int(scenario[1])):
                    time.sleep(1.0)
                    sock.sendall(bytes([byte]))
            elif name == "garbage":
                sock.sendall(b"\x00\xffNOT HTTP AT ALL\r\nX: y\r\n\r\n2.0")
            elif name == "auth":
                if b"\r\nauthorization:" in data.lower():
                    sock.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nauthorized")
                else:
                    sock.sendall(b'HTTP/1.0 401 Unauthorized\r\nWWW-Authenticate: Basic realm="vs"\r\n'
                                 b"Content-Length: 6\r\n\r\ndenied")
            elif name == "endless":
                sock.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n")
                chunk = body_bytes(251 * 256)
                while True:
                    sock.sendall(chunk)
            else:
                sock.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok")
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve(record_dir):
    servers = [Server(("127.0.0.1", 0), Handler)]
    try:
        servers.append(Server(("127.0.0.1", 80), Handler))
    except OSError:
        pass
    refused = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    refused.bind(("127.0.0.1", 0))  # bound, never listening: connections are refused
    for s in servers:
        s.record_dir = record_dir
        threading.Thread(target=s.serve_forever, daemon=True).start()
    with open(os.path.join(record_dir, "refused_port"), "w") as f:
        f.write(str(refused.getsockname()[1]))
    if len(servers) > 1:
        with open(os.path.join(record_dir, "port80"), "w") as f:
            f.write("80")
    with open(os.path.join(record_dir, "pid"), "w") as f:
        f.write(str(os.getpid()))
    with open(os.path.join(record_dir, "port.tmp"), "w") as f:
        f.write(str(servers[0].server_address[1]))
    os.rename(os.path.join(record_dir, "port.tmp"), os.path.join(record_dir, "port"))
    signal.sigwait([signal.SIGTERM])


def start(record_dir):
    stop(record_dir)
    os.makedirs(record_dir, exist_ok=True)
    for name in os.listdir(record_dir):
        os.unlink(os.path.join(record_dir, name))
    if os.fork() == 0:
        os.setsid()
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
        signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGTERM])
        serve(record_dir)
        os._exit(0)
    for _ in range(100):
        if os.path.exists(os.path.join(record_dir, "port")):
            return 0
        time.sleep(0.05)
    print("scripted server did not start", file=sys.stderr)
    return 1


def stop(record_dir):
    try:
        with open(os.path.join(record_dir, "pid")) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    return 0


if __name__ == "__main__":
    command, directory = sys.argv[1], sys.argv[2]
    sys.exit(start(directory) if command == "start" else stop(directory))
