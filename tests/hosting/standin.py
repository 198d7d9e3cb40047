"""A stand-in of the hosting service for the tests: real HTTP on 127.0.0.1, a free port.

It registers and renames folders, lists a folder's files with delete links, takes page and
picture uploads, lists, serves and deletes pictures. Modes: normal, full (every picture list
says STORAGE EXCEEDED), refuse (every post is answered 500), unconfirmed (every post is answered
200 with an error page and nothing is stored), shouting (a post taken is answered "PAGE SAVED"),
silent (a post taken is answered with an empty body), slow (connections are accepted and never
answered), gzip (answers are gzip-encoded). A picture taken is otherwise answered "uploaded", a
page "saved". It prints "PORT <n>" once it listens. GET /_log
gives every request it took, a line each; GET /_mode/NAME changes the mode.
"""
import argparse
import email.parser
import email.policy
import gzip
import os
import ssl
import socketserver
import sys
import threading
import time
import urllib.parse

LOCK = threading.Lock()
LOG = []
FOLDERS = {}  # name -> {"id", "password", "pages": {name: bytes}, "pictures": {name: bytes}}
TAKEN = {"Taken"}


def folder_by_id(folder_id):
    for folder in FOLDERS.values():
        if folder["id"] == folder_id:
            return folder
    return None


def form_fields(content_type, body):
    message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(
        b"Content-Type: " + content_type.encode() + b"\r\n\r\n" + body)
    fields, files = {}, {}
    for part in message.iter_parts():
        name = part.get_param("name", header="content-disposition")
        if part.get_filename() is not None:
            files[name] = (part.get_filename(), part.get_payload(decode=True))
        else:
            fields[name] = part.get_payload(decode=True).decode("utf-8", "replace")
    return fields, files


class Handler(socketserver.StreamRequestHandler):
    mode = "normal"
    port = 0
    scheme = "http"

    def handle(self):
        line = self.rfile.readline().decode("latin-1").rstrip("\r\n")
        if Handler.mode == "slow":
            threading.Event().wait(3600)
            return
        headers = {}
        while True:
            header = self.rfile.readline().decode("latin-1").rstrip("\r\n")
            if not header:
                break
            name, _, value = header.partition(":")
            headers[name.strip().lower()] = value.strip()
        body = self.rfile.read(int(headers.get("content-length", "0") or 0))
        method, _, rest = line.partition(" ")
        target = rest[:rest.rfind(" HTTP/")] if " HTTP/" in rest else rest
        status, reply = self.answer(method, target, headers, body)
        payload = reply.encode("utf-8") if isinstance(reply, str) else reply
        extra = ""
        if Handler.mode == "gzip" and method == "GET":
            payload = gzip.compress(payload)
            extra = "Content-Encoding: gzip\r\n"
        # Replies that are no answers: an error page, a redirect, far too much, far too slow.
        if Handler.mode == "notfound" and not target.startswith("/_log"):
            status, payload = 404, b"<html><body>1000|http://x/</body></html>"
        if Handler.mode == "moved" and not target.startswith("/_log"):
            status, payload = 301, b"1000|http://x/"
            extra = "Location: %s://127.0.0.1:%d/elsewhere\r\n" % (Handler.scheme, Handler.port)
        if Handler.mode == "huge" and not target.startswith("/_log"):
            payload = b"x" * (70 * 1024 * 1024)
        whole = ("HTTP/1.0 %d X\r\nContent-Type: text/html\r\n%sContent-Length: %d\r\n\r\n"
                 % (status, extra, len(payload))).encode("latin-1") + payload
        if Handler.mode == "trickle" and not target.startswith("/_log"):
            for byte in whole:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
                time.sleep(0.3)
            return
        self.wfile.write(whole)

    def answer(self, method, target, headers, body):
        path, _, query = target.partition("?")
        with LOCK:
            if path == "/_log":
                return 200, "\n".join(LOG) + "\n"
            # A test changes how the service answers without starting another.
            if path.startswith("/_mode/"):
                Handler.mode = path[len("/_mode/"):]
                return 200, Handler.mode
            if method == "POST":
                fields, files = form_fields(headers.get("content-type", ""), body)
                LOG.append("POST %s %s %s" % (
                    path, " ".join("%s=%s" % item for item in fields.items()),
                    " ".join("%s:%s" % (name, f[0]) for name, f in files.items())))
                if Handler.mode == "refuse":
                    return 500, "refused"
                if Handler.mode == "unconfirmed":
                    return 200, "<html><body>Internal error: nothing was stored</body></html>"
                status, reply = self.upload(path, fields, files)
                if Handler.mode == "shouting" and status == 200:
                    return status, "PAGE SAVED"
                if Handler.mode == "silent" and status == 200:
                    return status, ""
                return status, reply
            LOG.append("GET " + target)
            return self.get(path, query)

    def upload(self, path, fields, files):
        if path.endswith("/uploadgraphic.php"):
            folder = folder_by_id(fields.get("FOLDERID"))
            if folder is None or folder["password"] != fields.get("PASSWORD"):
                return 403, "wrong folder"
            name, data = files["SpecialFile"]
            folder["pictures"][name] = data
            return 200, "uploaded"
        folder = FOLDERS.get(fields.get("FOLDERNAME"))
        if folder is None or folder["password"] != fields.get("PASSWORD"):
            return 403, "wrong folder"
        folder["pages"][fields["FILENAME"]] = files["uploadfile"][1]
        return 200, "saved"

    def get(self, path, query):
        base = "%s://127.0.0.1:%d/" % (Handler.scheme, Handler.port)
        if path == "/quillservlet":
            # The fields are split first, so an encoded "|" inside one stays in it; a browser
            # sends the separators encoded themselves.
            if "|" not in query:
                query = urllib.parse.unquote(query)
            command = [urllib.parse.unquote(field) for field in query.split("|")]
            return self.servlet(command, base)
        arguments = dict(urllib.parse.parse_qsl(query, keep_blank_values=True))
        folder = folder_by_id(arguments.get("folderid"))
        if path == "/scripts/listimages.php":
            if Handler.mode == "full":
                return 200, "STORAGE EXCEEDED"
            # As the service does: the list ends with a line end.
            return 200, "|".join(folder["pictures"]) + "\r\n" if folder else ""
        if path == "/scripts/getimage.php" and folder:
            return 200, folder["pictures"].get(arguments.get("filename"), b"")
        if path == "/scripts/deleteimages.php" and folder:
            if folder["password"] == arguments.get("password"):
                folder["pictures"].pop(arguments.get("filename"), None)
                folder["pages"].pop(arguments.get("filename"), None)
            return 200, "deleted"
        parts = path.strip("/").split("/")
        if len(parts) == 2 and parts[0] in FOLDERS:
            return 200, FOLDERS[parts[0]]["pages"].get(parts[1], b"not found")
        return 404, "<html><body>Not here</body></html>"

    def servlet(self, command, base):
        if command[0] == "REGISTERFOLDER" and len(command) == 3:
            name, password = command[1], command[2]
            if name in TAKEN or name in FOLDERS:
                return 200, "NAME NOT AVAILABLE\n"
            folder_id = str(1000 + len(FOLDERS))
            FOLDERS[name] = {"id": folder_id, "password": password, "pages": {}, "pictures": {}}
            if name == "NoBar":
                return 200, base + "scripts/\n"
            return 200, "%s|%sscripts/\n" % (folder_id, base)
        if command[0] == "CHANGEFOLDERNAME" and len(command) == 4:
            new, old, password = command[1:]
            if new in TAKEN or new in FOLDERS:
                return 200, "NAME NOT AVAILABLE"
            if old not in FOLDERS or FOLDERS[old]["password"] != password:
                return 200, "WRONG FOLDER"
            FOLDERS[new] = FOLDERS.pop(old)
            return 200, "FOLDER CHANGED"
        if command[0] == "FILELISTING" and len(command) == 3:
            folder = FOLDERS.get(command[1])
            if folder is None or folder["password"] != command[2]:
                return 200, "<html><body>No such folder</body></html>"
            links = "".join(
                "<li><a href='%s%s/%s'>%s</a> <a class='delete' href='%squillservlet?FILEDELETE|%s|%s|%s'>"
                "delete</a></li>" % (base, command[1], urllib.parse.quote(name), name, base,
                                      command[1], command[2], urllib.parse.quote(name))
                for name in list(folder["pages"]) + list(folder["pictures"]))
            return 200, "<html><head><title>Folder %s</title></head><body><ul>%s</ul></body></html>" % (
                command[1], links)
        if command[0] == "FILEDELETE":
            return 200, "<html><head><title>Deleted</title></head><body>Deleted</body></html>"
        return 200, "UNKNOWN COMMAND"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", default="normal")
    parser.add_argument("--tls", metavar="CERTIFICATE_FOLDER",
                        help="serve https with a self-signed certificate made in the folder")
    arguments = parser.parse_args()
    Handler.mode = arguments.mode
    socketserver.ThreadingTCPServer.allow_reuse_address = True
    socketserver.ThreadingTCPServer.daemon_threads = True
    with socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler) as server:
        if arguments.tls:
            sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "transfer"))
            from ftpserver import self_signed_certificate
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(self_signed_certificate(arguments.tls))
            server.socket = context.wrap_socket(server.socket, server_side=True)
            Handler.scheme = "https"
        Handler.port = server.server_address[1]
        print("PORT %d" % Handler.port, flush=True)
        server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
