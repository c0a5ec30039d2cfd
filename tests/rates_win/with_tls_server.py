#!/usr/bin/env python3
"""Runs a command beside a web server over TLS on 127.0.0.1 whose certificate is
self-signed and made for this run alone.

Wine's TLS can only be a client, so the server lives on the host side. The command learns
the port from KALVO_TLS_PORT and the server's log from KALVO_TLS_LOG (a host path; under
Wine it is reached through the Z: drive). The server writes one line per connection, once
the connection is over, as tab-separated key=value fields:

  handshake=complete|failed  version=TLSv1.3  reason=<the TLS error, when it failed>
  request_bytes=<bytes that came after the handshake>  request=<their first line>
  ended=closed|reset|timeout|<the TLS error>

A client that accepts the certificate and sends a request gets a 200 answer with a body,
so a client that wrongly trusts the server is seen to download something.

Usage: with_tls_server.py [--timeout SECONDS] -- command [arguments...]
"""
import argparse
import os
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

BODY = b"<Cube time='2026-07-06'>served over TLS"
SOCKET_TIMEOUT = 5.0


def make_certificate(folder):
    key = os.path.join(folder, "key.pem")
    certificate = os.path.join(folder, "certificate.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256",
         "-days", "2", "-subj", "/CN=127.0.0.1",
         "-addext", "subjectAltName=IP:127.0.0.1",
         "-keyout", key, "-out", certificate],
        check=True, timeout=60, stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return certificate, key


def tls_reason(error):
    return getattr(error, "reason", None) or type(error).__name__


class TlsServer:
    def __init__(self, certificate, key, log_path):
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certificate, key)
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.listener.settimeout(0.2)
        self.port = self.listener.getsockname()[1]
        self.log_path = log_path
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self.run, daemon=True)

    def start(self):
        open(self.log_path, "w").close()
        self.thread.start()

    def stop(self):
        self.stopping.set()
        self.thread.join(timeout=SOCKET_TIMEOUT * 3)
        self.listener.close()

    def run(self):
        while not self.stopping.is_set():
            try:
                connection, _ = self.listener.accept()
            except (socket.timeout, OSError):
                continue
            with connection:
                record = self.serve(connection)
            with open(self.log_path, "a") as log:
                log.write("\t".join(f"{k}={v}" for k, v in record.items()) + "\n")

    def serve(self, connection):
        connection.settimeout(SOCKET_TIMEOUT)
        record = {"handshake": "failed"}
        tls = self.context.wrap_socket(connection, server_side=True,
                                       do_handshake_on_connect=False)
        try:
            tls.do_handshake()
        except ssl.SSLError as error:
            record["reason"] = tls_reason(error)
            return record
        except OSError as error:
            record["reason"] = type(error).__name__
            return record
        record["handshake"] = "complete"
        record["version"] = tls.version()

        received = b""
        try:
            while b"\r\n\r\n" not in received:
                chunk = tls.recv(4096)
                if not chunk:
                    record["ended"] = "closed"
                    break
                received += chunk
            else:
                record["ended"] = "answered"
                tls.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n"
                            b"Connection: close\r\n\r\n%s" % (len(BODY), BODY))
        except ssl.SSLError as error:
            record["ended"] = tls_reason(error)
        except socket.timeout:
            record["ended"] = "timeout"
        except OSError:
            record["ended"] = "reset"
        record["request_bytes"] = str(len(received))
        first_line = received.split(b"\r\n", 1)[0].decode("latin-1")
        record["request"] = first_line.replace("\t", " ")
        return record


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--timeout", type=float, default=280.0,
                        help="seconds before the command is stopped")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    command = arguments.command
    if command and command[0] == "--":
        command = command[1:]
    if not command:
        parser.error("no command to run")

    with tempfile.TemporaryDirectory(prefix="kalvo-tls-") as folder:
        certificate, key = make_certificate(folder)
        server = TlsServer(certificate, key, os.path.join(folder, "connections.log"))
        server.start()
        environment = dict(os.environ, KALVO_TLS_PORT=str(server.port),
                           KALVO_TLS_LOG=server.log_path)
        child = subprocess.Popen(command, env=environment)

        def forward(signum, _frame):
            child.terminate()
            raise SystemExit(128 + signum)

        signal.signal(signal.SIGTERM, forward)
        signal.signal(signal.SIGINT, forward)
        try:
            status = child.wait(timeout=arguments.timeout)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
            print(f"with_tls_server: stopped the command after {arguments.timeout:.0f} s",
                  file=sys.stderr)
            status = 1
        finally:
            server.stop()
    return status


if __name__ == "__main__":
    sys.exit(main())
