"""Serves one folder over HTTP on 127.0.0.1, a free port, as a web host serves a published
site: files with their types, gzip for text when the browser asks. Prints "PORT <n>" once it
listens.
"""
import functools
import gzip
import http.server
import io
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def end_headers(self):
        self.send_header("Cache-Control", "max-age=31536000")
        super().end_headers()

    def send_head(self):
        path = self.translate_path(self.path)
        text = path.endswith((".html", ".xml", ".txt"))
        if not text or "gzip" not in self.headers.get("Accept-Encoding", ""):
            return super().send_head()
        try:
            with open(path, "rb") as source:
                body = gzip.compress(source.read())
        except OSError:
            self.send_error(404)
            return None
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        return io.BytesIO(body)


def main():
    handler = functools.partial(Handler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
