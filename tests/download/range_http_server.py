#!/usr/bin/python3
"""Serves the files of one folder on 127.0.0.1 with HTTP Range support, for
the download tests and the benchmark.

    range_http_server.py FOLDER INFO_FILE [MAX_SECONDS]

Binds a free port and writes "PORT PID" to INFO_FILE once it listens. Ends
when FOLDER is gone or after MAX_SECONDS (default 600), so that it never
outlives its test.
"""
import os
import re
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 1 << 20


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def handle(self):
        # Downloaders drop connections whenever they have what they need.
        try:
            super().handle()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_HEAD(self):
        self.serve(send_body=False)

    def do_GET(self):
        self.serve(send_body=True)

    def serve(self, send_body):
        name = os.path.basename(self.path.split("?", 1)[0])
        path = os.path.join(self.server.folder, name)
        if not name or not os.path.isfile(path):
            self.send_error(404)
            return
        size = os.path.getsize(path)
        start, end = 0, size - 1
        status = 200
        match = re.match(r"bytes=(\d*)-(\d*)$", self.headers.get("Range", ""))
        if match and (match.group(1) or match.group(2)):
            if match.group(1):
                start = int(match.group(1))
                if match.group(2):
                    end = min(int(match.group(2)), size - 1)
            else:
                start = max(0, size - int(match.group(2)))
            if start >= size or start > end:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(end - start + 1))
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end, size))
        self.end_headers()
        if not send_body:
            return
        with open(path, "rb") as f:
            f.seek(start)
            left = end - start + 1
            while left > 0:
                data = f.read(min(CHUNK, left))
                if not data:
                    break
                self.wfile.write(data)
                left -= len(data)


def main():
    folder, info = os.path.abspath(sys.argv[1]), sys.argv[2]
    max_seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 600.0
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.folder = folder
    threading.Thread(target=server.serve_forever, daemon=True).start()
    with open(info + ".tmp", "w") as f:
        f.write("%d %d\n" % (server.server_address[1], os.getpid()))
    os.rename(info + ".tmp", info)
    started = time.time()
    while os.path.isdir(folder) and time.time() - started < max_seconds:
        time.sleep(0.5)
    os._exit(0)


if __name__ == "__main__":
    main()
