"""A real FTP server for the tests, on 127.0.0.1 and a free port: one account ("quill",
password "secret") with full rights on the given folder. With --tls the server offers explicit
TLS (AUTH TLS) with a self-signed certificate made in the given folder. Prints "PORT <n>" once
it listens. --mode makes it misbehave as real servers do: "norename" refuses renames,
"dropupload" breaks every connection 100 kB into an upload, "stall" stops sending a download
after its first piece, "slow" moves 64 kB a second, "stallupload" stops reading an upload
after 100 kB, "noreply" never confirms an upload, "hostile" lists names that climb out of the
folder (and serves any name), "tlsonce" refuses AUTH once a login went through, "liar" answers
226 to every upload and throws it away, "fakerename" answers 250 to renames it never makes,
"diskfull" reads every upload and then answers 451.
--log FILE records every command the server receives, one a line ("CONNECT" for each new
connection), so that a test can see what reached it.
"""
import argparse
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def self_signed_certificate(folder):
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    certificate = crypto.X509()
    certificate.set_version(2)
    certificate.get_subject().CN = "127.0.0.1"
    # Clients check an address against the alternative names, not the common name.
    certificate.add_extensions([
        crypto.X509Extension(b"basicConstraints", False, b"CA:TRUE"),
        crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1, DNS:localhost"),
    ])
    certificate.set_serial_number(1)
    certificate.gmtime_adj_notBefore(0)
    certificate.gmtime_adj_notAfter(24 * 3600)
    certificate.set_issuer(certificate.get_subject())
    certificate.set_pubkey(key)
    certificate.sign(key, "sha256")
    path = os.path.join(folder, "server.pem")
    with open(path, "wb") as pem:
        pem.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
        pem.write(crypto.dump_certificate(crypto.FILETYPE_PEM, certificate))
    return path


class DroppingDTPHandler(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        if self.tot_bytes_received > 100 * 1024:
            self.cmd_channel.close()

    handle_read_event = handle_read


class StallingDTPHandler(DTPHandler):
    pieces = 0

    def send(self, data):
        StallingDTPHandler.pieces += 1
        if StallingDTPHandler.pieces > 1:
            time.sleep(3600)
        return DTPHandler.send(self, data)


class StallingUploadDTPHandler(DTPHandler):
    def handle_read(self):
        if self.tot_bytes_received > 100 * 1024:
            # Stop reading without blocking the server: the client's data waits.
            self.del_channel()
            return
        DTPHandler.handle_read(self)

    handle_read_event = handle_read


class DiskFullDTPHandler(DTPHandler):
    # The whole upload is read, then refused as a full disk refuses it.
    def handle_close(self):
        if not self._closed and self.receive:
            self.transfer_finished = False
            self._resp = ("451 Requested action aborted: disk full.", logging.debug)
            self.close()
            return
        DTPHandler.handle_close(self)


HOSTILE_NAMES = ["/../../pwned_home.txt", "../up.txt", "a\\b.txt", "ok.txt"]


def misbehaving(handler, mode):
    if mode == "hostile":
        class Hostile(handler):
            def ftp_MLSD(self, path):
                self.respond("550 No MLSD here.")

            def ftp_LIST(self, path):
                lines = "".join(
                    "-rw-r--r--   1 quill quill 5 Jan 01 10:00 %s\r\n" % name
                    for name in HOSTILE_NAMES)
                self.push_dtp_data(lines.encode(), isproducer=False, cmd="LIST")

            def ftp_RETR(self, file):
                self.push_dtp_data(b"owned", isproducer=False, cmd="RETR")

            def ftp_SIZE(self, path):
                self.respond("213 5")

            def ftp_CWD(self, path):
                self.respond('250 "/" is the current directory.')
        return Hostile
    if mode == "tlsonce":
        class TlsOnce(handler):
            logged_in = False

            def on_login(self, username):
                TlsOnce.logged_in = True

            def ftp_AUTH(self, arg):
                if TlsOnce.logged_in:
                    self.respond("500 Command \"AUTH\" not understood.")
                    return
                handler.ftp_AUTH(self, arg)
        return TlsOnce
    if mode == "stallupload":
        handler.dtp_handler = StallingUploadDTPHandler
    if mode == "noreply":
        class Silent(handler):
            def ftp_STOR(self, file, mode="w"):
                self.respond("150 File status okay. About to open data connection.")
        return Silent
    if mode == "norename":
        class Refusing(handler):
            def ftp_RNFR(self, path):
                self.respond("550 Renaming is not allowed here.")
        return Refusing
    if mode == "liar":
        class Liar(handler):
            # Every upload is answered 226 and thrown away.
            def ftp_STOR(self, file, mode="w"):
                return handler.ftp_STOR(self, os.devnull, mode)
        return Liar
    if mode == "fakerename":
        class FakeRename(handler):
            # Renames are answered as done and never made.
            def ftp_RNFR(self, path):
                self.respond("350 Ready for destination name.")

            def ftp_RNTO(self, path):
                self.respond("250 Renaming ok.")
        return FakeRename
    if mode == "diskfull":
        handler.dtp_handler = DiskFullDTPHandler
    if mode == "dropupload":
        handler.dtp_handler = DroppingDTPHandler
    if mode == "stall":
        handler.use_sendfile = False
        handler.dtp_handler = StallingDTPHandler
    if mode == "slow":
        ThrottledDTPHandler.read_limit = 64 * 1024
        ThrottledDTPHandler.write_limit = 64 * 1024
        handler.dtp_handler = ThrottledDTPHandler
    return handler


def recording(handler, path):
    class Recording(handler):
        def on_connect(self):
            with open(path, "a") as log:
                log.write("CONNECT\n")
            handler.on_connect(self)

        def pre_process_command(self, line, cmd, arg):
            with open(path, "a") as log:
                log.write(line.replace("\r", "").replace("\n", "") + "\n")
            handler.pre_process_command(self, line, cmd, arg)
    return Recording


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--home", required=True)
    parser.add_argument("--tls", metavar="CERTIFICATE_FOLDER")
    parser.add_argument("--mode", default="normal")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log")
    arguments = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user("quill", "secret", arguments.home, perm="elradfmwMT")
    handler = FTPHandler
    if arguments.tls:
        from pyftpdlib.handlers import TLS_FTPHandler
        handler = TLS_FTPHandler
        handler.certfile = self_signed_certificate(arguments.tls)
    handler = misbehaving(handler, arguments.mode)
    if arguments.log:
        handler = recording(handler, arguments.log)
    handler.authorizer = authorizer
    # A wrong password is answered at once: the tests try one on purpose.
    handler.auth_failed_timeout = 0
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", arguments.port), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
