"""A real FTP server for the tests, on 127.0.0.1 and a free port: one account ("quill",
password "secret") with full rights on the given folder. With --tls the server offers explicit
TLS (AUTH TLS) with a self-signed certificate made in the given folder. Prints "PORT <n>" once
it listens.
"""
import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def self_signed_certificate(folder):
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    certificate = crypto.X509()
    certificate.get_subject().CN = "127.0.0.1"
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--home", required=True)
    parser.add_argument("--tls", metavar="CERTIFICATE_FOLDER")
    arguments = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user("quill", "secret", arguments.home, perm="elradfmwMT")
    handler = FTPHandler
    if arguments.tls:
        from pyftpdlib.handlers import TLS_FTPHandler
        handler = TLS_FTPHandler
        handler.certfile = self_signed_certificate(arguments.tls)
    handler.authorizer = authorizer
    # A wrong password is answered at once: the tests try one on purpose.
    handler.auth_failed_timeout = 0
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
