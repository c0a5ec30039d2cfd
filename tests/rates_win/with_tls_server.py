#!/usr/bin/env python3
"""Runs a command beside web servers over TLS on 127.0.0.1, each with a certificate made
for this run alone.

Wine's TLS can only be a client, so the servers live on the host side. The command learns
their ports from the environment:

  KALVO_TLS_PORT             a self-signed certificate for 127.0.0.1
  KALVO_TLS_TRUSTED_PORT     a certificate for localhost and 127.0.0.1 from a test
                             authority whose certificate (PEM) is at KALVO_TLS_AUTHORITY
  KALVO_TLS_EXPIRED_PORT     the same names from the same authority, expired yesterday
  KALVO_TLS_WRONG_HOST_PORT  the same authority, for rates.example.org only

The test, not this script, makes its own Wine prefix trust the authority. Paths are host
paths; under Wine they are reached through the Z: drive. The servers write one line per
connection to KALVO_TLS_LOG, once the connection is over, as tab-separated key=value
fields:

  server=self_signed|trusted|expired|wrong_host
  handshake=complete|failed  version=TLSv1.3  reason=<the TLS error, when it failed>
  request_bytes=<bytes that came after the handshake>  request=<their first line>
  ended=closed|reset|timeout|answered|<the TLS error>

A client that accepts a certificate and sends a request gets an answer chosen by the path:

  /stats/eurofxref/moved-<status>-absolute   <status> to the rates document, an absolute
  /stats/eurofxref/moved-<status>-relative   ... a target relative to the request's path
  /stats/eurofxref/moved-<status>-lower      ... an absolute one in a lower-case header
  /stats/eurofxref/moved-twice               302 to moved-302-absolute
  /stats/eurofxref/to-plain-<port>           302 to http://127.0.0.1:<port>/ the document
  /stats/eurofxref/cut-short                 a body shorter than its Content-Length
  anything else                              200 with the rates document (--document, or a
                                             small one of 2005-12-06)

so a client that wrongly trusts a server is seen to download something.

Usage: with_tls_server.py [--timeout SECONDS] [--document FILE] -- command [arguments...]
"""
import argparse
import datetime
import os
import re
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

DOCUMENT = (b"<gesmes:Envelope>\r\n<Cube>\r\n<Cube time='2005-12-06'>\r\n"
            b"<Cube currency='USD' rate='1.1782'/>\r\n<Cube currency='JPY' rate='142.38'/>\r\n"
            b"</Cube>\r\n</Cube>\r\n</gesmes:Envelope>\r\n")
RATES_PATH = "/stats/eurofxref/eurofxref-daily.xml"
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


def make_authority_certificates(folder):
    """The test authority and the certificates it signs, as {name: (certificate, key)},
    with the authority's own certificate under "authority"."""
    from cryptography import x509
    from cryptography.hazmat.primitives import hashes, serialization
    from cryptography.hazmat.primitives.asymmetric import rsa
    from cryptography.x509.oid import NameOID
    import ipaddress

    now = datetime.datetime.now(datetime.timezone.utc)
    day = datetime.timedelta(days=1)

    def write(name, certificate, key):
        certificate_path = os.path.join(folder, name + ".pem")
        key_path = os.path.join(folder, name + "-key.pem")
        with open(certificate_path, "wb") as out:
            out.write(certificate.public_bytes(serialization.Encoding.PEM))
        with open(key_path, "wb") as out:
            out.write(key.private_bytes(serialization.Encoding.PEM,
                                        serialization.PrivateFormat.PKCS8,
                                        serialization.NoEncryption()))
        return certificate_path, key_path

    authority_key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    authority_name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME,
                                                   "Kalvo test authority")])
    authority = (x509.CertificateBuilder()
                 .subject_name(authority_name).issuer_name(authority_name)
                 .public_key(authority_key.public_key())
                 .serial_number(x509.random_serial_number())
                 .not_valid_before(now - day).not_valid_after(now + 2 * day)
                 .add_extension(x509.BasicConstraints(ca=True, path_length=None), critical=True)
                 .add_extension(x509.KeyUsage(False, False, False, False, False, True, True,
                                              False, False), critical=True)
                 .sign(authority_key, hashes.SHA256()))
    made = {"authority": write("authority", authority, authority_key)}

    def issue(name, host_names, addresses, not_before, not_after):
        key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
        names = [x509.DNSName(n) for n in host_names]
        names += [x509.IPAddress(ipaddress.ip_address(a)) for a in addresses]
        certificate = (x509.CertificateBuilder()
                       .subject_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME,
                                                                   host_names[0])]))
                       .issuer_name(authority_name)
                       .public_key(key.public_key())
                       .serial_number(x509.random_serial_number())
                       .not_valid_before(not_before).not_valid_after(not_after)
                       .add_extension(x509.SubjectAlternativeName(names), critical=False)
                       .add_extension(x509.ExtendedKeyUsage(
                           [x509.oid.ExtendedKeyUsageOID.SERVER_AUTH]), critical=False)
                       .sign(authority_key, hashes.SHA256()))
        made[name] = write(name, certificate, key)

    issue("trusted", ["localhost"], ["127.0.0.1"], now - day, now + 2 * day)
    issue("expired", ["localhost"], ["127.0.0.1"], now - 30 * day, now - day)
    issue("wrong_host", ["rates.example.org"], [], now - day, now + 2 * day)
    return made


def answer_for(path, port, document):
    """The bytes the server sends for a request of this path."""
    def document_answer():
        return (b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s"
                % (len(document), document))

    def redirect(status, location, header=b"Location"):
        return (b"HTTP/1.1 %d Moved\r\n%s: %s\r\nContent-Length: 0\r\n"
                b"Connection: close\r\n\r\n" % (status, header, location.encode()))

    absolute = f"https://localhost:{port}{RATES_PATH}"
    moved = re.fullmatch(r"/stats/eurofxref/moved-(\d{3})-(absolute|relative|lower)", path)
    if moved:
        status, kind = int(moved.group(1)), moved.group(2)
        if kind == "relative":
            return redirect(status, "eurofxref-daily.xml")
        return redirect(status, absolute, b"location" if kind == "lower" else b"Location")
    if path == "/stats/eurofxref/moved-twice":
        return redirect(302, f"https://localhost:{port}/stats/eurofxref/moved-302-absolute")
    plain = re.fullmatch(r"/stats/eurofxref/to-plain-(\d+)", path)
    if plain:
        return redirect(302, f"http://127.0.0.1:{plain.group(1)}{RATES_PATH}")
    if path == "/stats/eurofxref/cut-short":
        return (b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s"
                % (len(document) + 100, document))
    return document_answer()


def tls_reason(error):
    return getattr(error, "reason", None) or type(error).__name__


class TlsServer:
    def __init__(self, name, certificate, key, log_path, document):
        self.name = name
        self.document = document
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certificate, key)
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.listener.settimeout(0.2)
        self.port = self.listener.getsockname()[1]
        self.log_path = log_path
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self.run, daemon=True)

    def start(self):
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
        record = {"server": self.name, "handshake": "failed"}
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
                path = received.split(b"\r\n", 1)[0].split(b" ")[1:2]
                path = path[0].decode("latin-1") if path else "/"
                tls.sendall(answer_for(path, self.port, self.document))
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
    parser.add_argument("--document", help="the rates document the servers serve")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    command = arguments.command
    if command and command[0] == "--":
        command = command[1:]
    if not command:
        parser.error("no command to run")

    document = DOCUMENT
    if arguments.document:
        with open(arguments.document, "rb") as source:
            document = source.read()

    with tempfile.TemporaryDirectory(prefix="kalvo-tls-") as folder:
        log_path = os.path.join(folder, "connections.log")
        open(log_path, "w").close()
        certificates = make_authority_certificates(folder)
        certificates["self_signed"] = make_certificate(folder)
        servers = {name: TlsServer(name, *certificates[name], log_path, document)
                   for name in ("self_signed", "trusted", "expired", "wrong_host")}
        for server in servers.values():
            server.start()
        environment = dict(os.environ,
                           KALVO_TLS_PORT=str(servers["self_signed"].port),
                           KALVO_TLS_TRUSTED_PORT=str(servers["trusted"].port),
                           KALVO_TLS_EXPIRED_PORT=str(servers["expired"].port),
                           KALVO_TLS_WRONG_HOST_PORT=str(servers["wrong_host"].port),
                           KALVO_TLS_AUTHORITY=certificates["authority"][0],
                           KALVO_TLS_LOG=log_path)
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
            for server in servers.values():
                server.stop()
    return status


if __name__ == "__main__":
    sys.exit(main())
