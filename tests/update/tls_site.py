#!/usr/bin/env python3
"""The three files of a publisher's site served over TLS on 127.0.0.1, for the https tests.

  tls_site.py start DIR   makes a throw-away CA and a second, unknown one with openssl, a server
                          certificate for 127.0.0.1 from each, and serves the site twice in the
                          background; returns once both listen. DIR/ca.pem is the CA to trust,
                          DIR/port the port whose certificate it signed, DIR/unknown_port a port
                          whose certificate the unknown CA signed.
  tls_site.py stop DIR    ends the servers and removes the keys.

The site: /gs.html (a landing page titled "TLS landing"), /vs/1.txt ("2.0": an update is
published) and /vs/1.html (the update page). Every request path is appended to DIR/requests.
"""
import http.server
import os
import shutil
import signal
import socketserver
import ssl
import subprocess
import sys
import threading
import time

SITE = {
    "/gs.html": b"<html><head><title>TLS landing</title></head><body>landing</body></html>",
    "/vs/1.txt": b"2.0",
    "/vs/1.html": b"<html><head><title>TLS update</title></head><body>update</body></html>",
}


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_ca(d, name):
    key, cert = os.path.join(d, name + ".key"), os.path.join(d, name + ".pem")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
            "-days", "2", "-subj", "/CN=Orvane test " + name, "-addext",
            "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign")
    return key, cert


def make_server_cert(d, name, ca_key, ca_cert):
    key, csr, cert = (os.path.join(d, name + ext) for ext in (".key", ".csr", ".pem"))
    ext = os.path.join(d, name + ".ext")
    with open(ext, "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nextendedKeyUsage=serverAuth\n"
                "basicConstraints=CA:FALSE\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr,
            "-subj", "/CN=127.0.0.1")
    openssl("x509", "-req", "-in", csr, "-CA", ca_cert, "-CAkey", ca_key, "-CAcreateserial",
            "-out", cert, "-days", "2", "-extfile", ext)
    return key, cert


def serve(d, key, cert):
    log = os.path.join(d, "requests")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            with open(log, "a") as f:
                f.write(self.path + "\n")
            body = SITE.get(self.path)
            self.send_response(200 if body is not None else 404)
            body = body if body is not None else b"not found"
            self.send_header("Content-Type", "text/html" if self.path.endswith(".html")
                             else "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
        daemon_threads = True

        def get_request(self):
            sock, addr = super().get_request()
            return context.wrap_socket(sock, server_side=True, do_handshake_on_connect=False), addr

        def handle_error(self, request, client_address):
            pass  # a client refusing the certificate is expected

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def start(d):
    os.makedirs(d, exist_ok=True)
    for name in ("port", "unknown_port", "requests"):
        if os.path.exists(os.path.join(d, name)):
            os.remove(os.path.join(d, name))
    keys = os.path.join(d, "keys")
    os.makedirs(keys, exist_ok=True)
    ca_key, ca_cert = make_ca(keys, "ca")
    unknown_key, unknown_cert = make_ca(keys, "unknown-ca")
    trusted = make_server_cert(keys, "server", ca_key, ca_cert)
    untrusted = make_server_cert(keys, "unknown-server", unknown_key, unknown_cert)
    shutil.copy(ca_cert, os.path.join(d, "ca.pem"))
    read_end, write_end = os.pipe()
    if os.fork() == 0:
        os.close(read_end)
        os.setsid()
        ports = (serve(d, *trusted), serve(d, *untrusted))
        with open(os.path.join(d, "pid"), "w") as f:
            f.write(str(os.getpid()))
        for name, port in zip(("port", "unknown_port"), ports):
            with open(os.path.join(d, name), "w") as f:
                f.write(str(port))
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
        os.write(write_end, b"ready")
        os.close(write_end)
        while True:
            time.sleep(3600)
    os.close(write_end)
    ok = os.read(read_end, 16) == b"ready"
    os.close(read_end)
    return 0 if ok else 1


def stop(d):
    try:
        with open(os.path.join(d, "pid")) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    shutil.rmtree(os.path.join(d, "keys"), ignore_errors=True)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop"):
        sys.exit("usage: tls_site.py start|stop DIR")
    sys.exit((start if sys.argv[1] == "start" else stop)(sys.argv[2]))
