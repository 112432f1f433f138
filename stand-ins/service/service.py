#!/usr/bin/env python3
"""Local stand-in for the Quillmere community service.

Answers the plain-text API under /v1/fivemclient/, serves files (with Range
requests, as the download daemon resumes and splits) and the launcher page,
and logs every request. A test sets answers and reads the log through
/_control/ requests:

  POST /_control/answer?path=/v1/fivemclient/version     body = the answer
  POST /_control/status?path=/files/x.zip&code=404        status for a path
  GET  /_control/log                                      one request a line
  POST /_control/reset                                    defaults, empty log

Listens on 127.0.0.1 only.
"""
import argparse
import os
import posixpath
import re
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

API = "/v1/fivemclient/"


def default_answers(base):
    return {
        API + "version/launcher": b"1014",
        API + "update/launcher": (base + "/files/launcher.exe").encode(),
        API + "version": b"100",
        API + "download": (base + "/files/client.zip").encode(),
        API + "download/nocache": (base + "/files/client.zip").encode(),
        API + "update": (base + "/files/update.zip").encode(),
    }


class State:
    def __init__(self, base, root):
        self.base, self.root = base, root
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        with self.lock:
            self.answers = default_answers(self.base)
            self.statuses = {}
            self.log = []


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuillmereService/1"

    def log_message(self, fmt, *args):
        pass

    @property
    def state(self):
        return self.server.state

    def send_body(self, code, body, content_type="text/plain; charset=gbk", extra=None):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in (extra or {}).items():
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_POST(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        path = query.get("path", [""])[0]
        with self.state.lock:
            if url.path == "/_control/answer" and path:
                self.state.answers[path] = body
            elif url.path == "/_control/status" and path:
                self.state.statuses[path] = int(query.get("code", ["200"])[0])
            elif url.path != "/_control/reset":
                self.send_body(404, b"unknown control request")
                return
        if url.path == "/_control/reset":
            self.state.reset()
        self.send_body(200, b"ok")

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/_control/log":
            with self.state.lock:
                text = "".join(line + "\n" for line in self.state.log)
            self.send_body(200, text.encode())
            return
        entry = "%s %s" % (self.command, self.path)
        if self.headers.get("Range"):
            entry += " Range=" + self.headers["Range"]
        with self.state.lock:
            self.state.log.append(entry)
            status = self.state.statuses.get(url.path)
            answer = self.state.answers.get(url.path)
        print(entry, flush=True)
        if status and status != 200:
            self.send_body(status, b"")
        elif answer is not None:
            self.send_body(200, answer)
        else:
            self.send_file(url.path)

    def send_file(self, path):
        rel = posixpath.normpath(urllib.parse.unquote(path)).lstrip("/")
        if rel.startswith("..") or rel == ".":
            self.send_body(404, b"")
            return
        full = os.path.join(self.state.root, rel)
        if os.path.isdir(full):
            full = os.path.join(full, "index.html")
        if not os.path.isfile(full):
            self.send_body(404, b"not found")
            return
        size = os.path.getsize(full)
        ctype = "text/html; charset=utf-8" if full.endswith(".html") else "application/octet-stream"
        start, end, code, extra = 0, size - 1, 200, {"Accept-Ranges": "bytes"}
        match = re.fullmatch(r"bytes=(\d*)-(\d*)", self.headers.get("Range", ""))
        if match and (match.group(1) or match.group(2)):
            if match.group(1):
                start = int(match.group(1))
                end = min(int(match.group(2)), size - 1) if match.group(2) else size - 1
            else:
                start = max(0, size - int(match.group(2)))
            if start >= size or start > end:
                self.send_body(416, b"", extra={"Content-Range": "bytes */%d" % size})
                return
            code = 206
            extra["Content-Range"] = "bytes %d-%d/%d" % (start, end, size)
        self.send_response(code)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(end - start + 1))
        for name, value in extra.items():
            self.send_header(name, value)
        self.end_headers()
        if self.command == "HEAD":
            return
        with open(full, "rb") as f:
            f.seek(start)
            left = end - start + 1
            while left > 0:
                chunk = f.read(min(left, 1 << 16))
                if not chunk:
                    break
                try:
                    self.wfile.write(chunk)
                except (BrokenPipeError, ConnectionResetError):
                    return
                left -= len(chunk)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=36580)
    parser.add_argument("--root", default=".", help="folder served below /")
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.state = State("http://127.0.0.1:%d" % args.port, os.path.abspath(args.root))
    print("service: listening on 127.0.0.1:%d, serving %s" % (args.port, server.state.root), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
