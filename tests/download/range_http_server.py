#!/usr/bin/python3
"""Serves the files of one folder on 127.0.0.1 with HTTP Range support, for
the download tests and the benchmark.

    range_http_server.py FOLDER INFO_FILE [MAX_SECONDS]

Binds a free port and writes "PORT PID" to INFO_FILE once it listens. Ends
when FOLDER is gone or after MAX_SECONDS (default 600), so that it never
outlives its test.
"""
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

# The Range answers are the service stand-in's own.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "..", "stand-ins", "service"))
import service  # noqa: E402

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
        self.serve()

    def do_GET(self):
        self.serve()

    def serve(self):
        name = os.path.basename(self.path.split("?", 1)[0])
        path = os.path.join(self.server.folder, name)
        if not name or not os.path.isfile(path):
            self.send_error(404)
            return
        service.send_file_range(self, path, "application/octet-stream", CHUNK)


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
