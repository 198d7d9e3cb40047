"""A Git server over HTTP for the tests: git-http-backend behind Python's CGI handler on
127.0.0.1 and a free port, serving the bare repositories of the given folder at
http://127.0.0.1:<port>/git/<name>.git. Every request must carry the token given as the
password of HTTP basic authentication (any user name); others get 401. Prints "PORT <n>" once
it listens.
"""
import base64
import ctypes
import http.server
import io
import os
import signal
import sys

ROOT, TOKEN = os.path.abspath(sys.argv[1]), sys.argv[2]


class Handler(http.server.CGIHTTPRequestHandler):
    cgi_directories = ["/git"]
    # The backend runs as a subprocess fed the whole request, which may come in chunks.
    have_fork = False

    def authorised(self):
        header = self.headers.get("Authorization", "")
        if not header.startswith("Basic "):
            return False
        user, _, password = base64.b64decode(header[6:]).decode().partition(":")
        return password == TOKEN

    def refuse(self):
        self.send_response(401)
        self.send_header("WWW-Authenticate", 'Basic realm="git"')
        self.send_header("Content-Length", "0")
        self.end_headers()

    def do_GET(self):
        if not self.authorised():
            return self.refuse()
        return super().do_GET()

    def do_POST(self):
        if not self.authorised():
            return self.refuse()
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            body = b""
            while True:
                size = int(self.rfile.readline().strip().split(b";")[0], 16)
                if size == 0:
                    self.rfile.readline()
                    break
                body += self.rfile.read(size)
                self.rfile.readline()
            del self.headers["Transfer-Encoding"]
            self.headers["Content-Length"] = str(len(body))
            self.rfile = io.BytesIO(body)
            # The handler looks at the socket for bytes beyond the body.
            self.rfile._sock = self.connection
        return super().do_POST()

    def is_cgi(self):
        # Every path under /git goes to git-http-backend, with the rest as its PATH_INFO.
        if self.path.startswith("/git/"):
            self.cgi_info = ("/git", "git-http-backend/" + self.path[len("/git/"):])
            return True
        return False

    def log_message(self, *arguments):
        pass


def main():
    # Gone with the test that started it, however the test ends.
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    os.environ["GIT_PROJECT_ROOT"] = ROOT
    os.environ["GIT_HTTP_EXPORT_ALL"] = "1"
    # The repositories belong to whoever made them.
    os.environ["GIT_CONFIG_COUNT"] = "1"
    os.environ["GIT_CONFIG_KEY_0"] = "safe.directory"
    os.environ["GIT_CONFIG_VALUE_0"] = "*"
    # The CGI handler runs <cwd>/git/git-http-backend.
    os.chdir(ROOT)
    os.makedirs("git", exist_ok=True)
    if not os.path.exists("git/git-http-backend"):
        os.symlink("/usr/lib/git-core/git-http-backend", "git/git-http-backend")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
