#!/usr/bin/python3
"""Serves downloads that stop half way, for the progress tests: GET /N
announces N bytes, sends the first N // 2 and then holds the connection
(a request for a range from S sends the bytes of the half from S on)
until the client drops it, so the daemon reports a download that is half
done and still running.

    half_http_server.py INFO_FILE [MAX_SECONDS]

Binds a free port on 127.0.0.1 and writes "PORT PID" to INFO_FILE once it
listens; ends after MAX_SECONDS (default 300) so that it never outlives its
test.
"""
import os
import re
import select
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        try:
            total = int(self.path.strip("/"))
        except ValueError:
            self.send_error(404)
            return
        # A resumed download asks for the rest; it gets no more than the half.
        start = 0
        match = re.fullmatch(r"bytes=(\d+)-", self.headers.get("Range", ""))
        if match and int(match.group(1)) < total:
            start = int(match.group(1))
            self.send_response(206)
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, total - 1, total))
        else:
            self.send_response(200)
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(total - start))
        self.end_headers()
        try:
            self.wfile.write(b"x" * max(0, total // 2 - start))
            self.wfile.flush()
            # Hold until the client goes (readable with nothing to read).
            while True:
                readable, _, _ = select.select([self.connection], [], [], 0.5)
                if readable and not self.connection.recv(1, 0x2):  # MSG_PEEK
                    return
        except OSError:
            return


def main():
    info = sys.argv[1]
    max_seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 300
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    with open(info + ".tmp", "w") as f:
        f.write("%d %d\n" % (server.server_address[1], os.getpid()))
    os.replace(info + ".tmp", info)
    threading.Thread(target=lambda: (time.sleep(max_seconds), os._exit(0)), daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
