"""A bucket store that never ends its listing, for the tests: real HTTP on 127.0.0.1, a free
port. Modes: repeat (every listing page is truncated and hands out the same continuation
token), silent (requests are taken and never answered). It prints "PORT <n>" once it listens.
"""
import http.server
import socketserver
import sys
import threading

MODE = sys.argv[1] if len(sys.argv) > 1 else "repeat"
PAGE = (b'<?xml version="1.0" encoding="UTF-8"?><ListBucketResult><Name>site</Name>'
        b'<IsTruncated>true</IsTruncated><Contents><Key>a.html</Key><ETag>"x"</ETag></Contents>'
        b'<NextContinuationToken>again</NextContinuationToken></ListBucketResult>')


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if MODE == "silent":
            threading.Event().wait(3600)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/xml")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *arguments):
        pass


def main():
    socketserver.ThreadingTCPServer.daemon_threads = True
    with socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler) as server:
        print("PORT %d" % server.server_address[1], flush=True)
        server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
