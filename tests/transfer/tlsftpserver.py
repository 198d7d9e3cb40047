"""A small FTP server of the tests' own that speaks TLS on the data connections as well as on
the login (explicit AUTH TLS, PBSZ, PROT P), on 127.0.0.1 and a free port, for one account
("quill", password "secret") on the given folder. Prints "PORT <n>" once it listens (on --port
when given).

--log FILE records each command, one a line, and each data connection as "DATA TLS" or
"DATA CLEAR", so that a test sees how the files travelled. --mode "refuseprot" answers PROT P
with 536; "unlisted" refuses to list a folder named "unlisted" (550) while letting the client
change into it.
"""
import argparse
import os
import socket
import ssl
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ftpserver import self_signed_certificate  # noqa: E402


class Session(threading.Thread):
    def __init__(self, sock, options, context):
        super().__init__(daemon=True)
        self.sock = sock
        self.options = options
        self.context = context
        self.reader = sock.makefile("rb")
        self.cwd = "/"
        self.logged_in = False
        self.user = None
        self.protected = False
        self.listener = None
        self.rename_from = None

    def log(self, line):
        if self.options.log:
            with open(self.options.log, "a") as log:
                log.write(line + "\n")

    def reply(self, text):
        self.sock.sendall((text + "\r\n").encode())

    def local(self, path):
        """The local path of a server path, or None when it climbs out of the folder."""
        joined = os.path.normpath(os.path.join(self.cwd, path))
        if not joined.startswith("/"):
            return None
        return os.path.join(self.options.home, joined.lstrip("/"))

    def data(self):
        """The data connection the client opened on the passive port, in TLS when protected."""
        conn, _ = self.listener.accept()
        self.listener.close()
        self.listener = None
        if self.protected:
            conn = self.context.wrap_socket(conn, server_side=True)
        self.log("DATA TLS" if self.protected else "DATA CLEAR")
        return conn

    @staticmethod
    def close(conn):
        try:
            if isinstance(conn, ssl.SSLSocket):
                conn = conn.unwrap()
        except (ssl.SSLError, OSError):
            pass
        conn.close()

    def listing(self, path, facts):
        folder = self.local(path or ".")
        if folder is None or not os.path.isdir(folder):
            return None
        lines = []
        for name in sorted(os.listdir(folder)):
            full = os.path.join(folder, name)
            size = os.path.getsize(full)
            if facts:
                kind = "dir" if os.path.isdir(full) else "file"
                lines.append("type=%s;size=%d; %s\r\n" % (kind, size, name))
            else:
                mode = "drwxr-xr-x" if os.path.isdir(full) else "-rw-r--r--"
                lines.append("%s 1 quill quill %d Jan 01 10:00 %s\r\n" % (mode, size, name))
        return "".join(lines).encode()

    def command(self, verb, argument):
        if verb == "AUTH":
            self.reply("234 AUTH TLS ok.")
            self.sock = self.context.wrap_socket(self.sock, server_side=True)
            self.reader = self.sock.makefile("rb")
        elif verb == "USER":
            self.user = argument
            self.reply("331 Password required.")
        elif verb == "PASS":
            self.logged_in = self.user == "quill" and argument == "secret"
            self.reply("230 Logged in." if self.logged_in else "530 Wrong password.")
        elif not self.logged_in and verb != "QUIT":
            self.reply("530 Log in first.")
        elif verb == "PBSZ":
            self.reply("200 PBSZ=0")
        elif verb == "PROT":
            if argument.upper() == "P" and self.options.mode == "refuseprot":
                self.reply("536 PROT P is not offered here.")
            else:
                self.protected = argument.upper() == "P"
                self.reply("200 Protection set.")
        elif verb == "PWD":
            self.reply('257 "%s" is the current directory.' % self.cwd)
        elif verb == "CWD":
            target = os.path.normpath(os.path.join(self.cwd, argument))
            if self.local(argument) and os.path.isdir(self.local(argument)):
                self.cwd = target
                self.reply("250 Directory changed.")
            else:
                self.reply("550 No such directory.")
        elif verb == "TYPE":
            self.reply("200 Type set.")
        elif verb == "REST":
            self.reply("350 Restarting at 0.")
        elif verb == "EPSV":
            self.listener = socket.socket()
            self.listener.bind(("127.0.0.1", 0))
            self.listener.listen(1)
            self.reply("229 Entering extended passive mode (|||%d|)" %
                       self.listener.getsockname()[1])
        elif verb in ("MLSD", "LIST", "NLST"):
            folder = os.path.normpath(os.path.join(self.cwd, argument or "."))
            body = self.listing(argument, verb == "MLSD")
            if body is None or (self.options.mode == "unlisted" and
                                os.path.basename(folder) == "unlisted"):
                self.reply("550 Cannot list this folder.")
                return
            self.reply("150 Here comes the listing.")
            conn = self.data()
            conn.sendall(body)
            self.close(conn)
            self.reply("226 Listing sent.")
        elif verb == "STOR":
            path = self.local(argument)
            if path is None:
                self.reply("553 Not allowed.")
                return
            self.reply("150 Ready to receive.")
            conn = self.data()
            with open(path, "wb") as target:
                while True:
                    try:
                        piece = conn.recv(65536)
                    except (ssl.SSLError, OSError):
                        break
                    if not piece:
                        break
                    target.write(piece)
            self.close(conn)
            self.reply("226 Transfer complete.")
        elif verb == "SIZE":
            path = self.local(argument)
            if path and os.path.isfile(path):
                self.reply("213 %d" % os.path.getsize(path))
            else:
                self.reply("550 No such file.")
        elif verb == "RNFR":
            self.rename_from = self.local(argument)
            self.reply("350 Ready for the new name.")
        elif verb == "RNTO":
            os.replace(self.rename_from, self.local(argument))
            self.reply("250 Renamed.")
        elif verb == "DELE":
            os.remove(self.local(argument))
            self.reply("250 Deleted.")
        elif verb == "QUIT":
            self.reply("221 Goodbye.")
            raise EOFError
        else:
            self.reply("502 %s is not implemented." % verb)

    def run(self):
        self.reply("220 The tests' TLS FTP server.")
        try:
            while True:
                line = self.reader.readline()
                if not line:
                    break
                text = line.decode().rstrip("\r\n")
                verb, _, argument = text.partition(" ")
                self.log(text if verb.upper() != "PASS" else "PASS ****")
                try:
                    self.command(verb.upper(), argument)
                except (FileNotFoundError, IsADirectoryError, PermissionError):
                    self.reply("550 Refused.")
        except (EOFError, OSError, ssl.SSLError):
            pass
        finally:
            self.sock.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--home", required=True)
    parser.add_argument("--tls", metavar="CERTIFICATE_FOLDER", required=True)
    parser.add_argument("--mode", default="normal")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log")
    options = parser.parse_args()
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(self_signed_certificate(options.tls))
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", options.port))
    server.listen(8)
    print("PORT %d" % server.getsockname()[1], flush=True)
    while True:
        sock, _ = server.accept()
        Session(sock, options, context).start()


if __name__ == "__main__":
    sys.exit(main())
