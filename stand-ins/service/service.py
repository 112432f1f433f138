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
  POST /_control/hold?path=/v1/fivemclient/version        requests wait...
  POST /_control/release?path=/v1/fivemclient/version     ...until released

With --content BIN_DIR it first writes the default content below ROOT/files
from the built stand-ins: the client archive (FiveM.exe, launcher_version.txt,
FiveM.app/caches.xml and FiveM.app/citizen/version.txt of the service's client
version), the update archive, the core-components archive (launcher_plugin.zip),
the launcher itself, the header picture (/fivem/launcher/header.jpg) and two
add-on packages (addon.zip, addon-large.zip).

Listens on 127.0.0.1 only; ends by itself after --max-seconds.
"""
import argparse
import os
import shutil
import time
import zipfile
import posixpath
import re
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

API = "/v1/fivemclient/"
CLIENT_VERSION = "100"
HOLD_LIMIT_SECONDS = 120
STAND_INS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAUNCHER_PAGE = "/fivem/launcher/"
# The launcher page's own files and the libraries it uses, from the npm
# packages that tools/setup.sh installs below stand-ins/.
LAUNCHER_PAGE_FILES = {
    "": ("page/index.html", "text/html; charset=utf-8"),
    "index.html": ("page/index.html", "text/html; charset=utf-8"),
    "launcher.css": ("page/launcher.css", "text/css; charset=utf-8"),
    "launcher.js": ("page/launcher.js", "text/javascript; charset=utf-8"),
    "vendor/jquery.min.js": ("node_modules/jquery/dist/jquery.min.js", "text/javascript; charset=utf-8"),
    "vendor/sweetalert2.min.js": ("node_modules/sweetalert2/dist/sweetalert2.min.js",
                                  "text/javascript; charset=utf-8"),
    "vendor/sweetalert2.min.css": ("node_modules/sweetalert2/dist/sweetalert2.min.css", "text/css; charset=utf-8"),
}
RANGE = re.compile(r"bytes=(\d*)-(\d*)")


def send_file_range(handler, full, content_type, chunk_bytes=1 << 16):
    """Answers handler's GET or HEAD with the file at full: whole (200), or
    the one byte range its Range header asks for (206 with Content-Range, 416
    when the range lies outside the file). The body is copied in chunks of
    chunk_bytes; a client that drops the connection, as downloaders do once
    they have their piece, ends the copy quietly. The download tests' file
    server (tests/download/range_http_server.py) answers through this too."""
    size = os.path.getsize(full)
    start, end, code, extra = 0, size - 1, 200, {"Accept-Ranges": "bytes"}
    match = RANGE.fullmatch(handler.headers.get("Range", ""))
    if match and (match.group(1) or match.group(2)):
        if match.group(1):
            start = int(match.group(1))
            end = min(int(match.group(2)), size - 1) if match.group(2) else size - 1
        else:
            start = max(0, size - int(match.group(2)))
        if start >= size or start > end:
            handler.send_response(416)
            handler.send_header("Content-Range", "bytes */%d" % size)
            handler.send_header("Content-Length", "0")
            handler.end_headers()
            return
        code = 206
        extra["Content-Range"] = "bytes %d-%d/%d" % (start, end, size)
    handler.send_response(code)
    handler.send_header("Content-Type", content_type)
    handler.send_header("Content-Length", str(end - start + 1))
    for name, value in extra.items():
        handler.send_header(name, value)
    handler.end_headers()
    if handler.command == "HEAD":
        return
    with open(full, "rb") as f:
        f.seek(start)
        left = end - start + 1
        while left > 0:
            chunk = f.read(min(left, chunk_bytes))
            if not chunk:
                break
            try:
                handler.wfile.write(chunk)
            except (BrokenPipeError, ConnectionResetError):
                return
            left -= len(chunk)


def send_launcher_page(handler, path):
    """Answers a request below LAUNCHER_PAGE with the launcher page's files;
    False for any other path or a file the page does not have."""
    if not path.startswith(LAUNCHER_PAGE):
        return False
    entry = LAUNCHER_PAGE_FILES.get(path[len(LAUNCHER_PAGE):])
    if not entry:
        return False
    full = os.path.join(STAND_INS, entry[0])
    if not os.path.isfile(full):
        handler.send_body(500, ("%s is missing: run tools/setup.sh" % entry[0]).encode())
        return True
    send_file_range(handler, full, entry[1])
    return True


def answer_content_type(path):
    """The type of a set answer: pages and style sheets as a browser expects
    them (the launcher's page cache goes by the type), the API's texts as GBK."""
    if path.endswith("/") or path.endswith(".html"):
        return "text/html; charset=utf-8"
    if path.endswith(".css"):
        return "text/css"
    if path.endswith(".js"):
        return "text/javascript"
    return "text/plain; charset=gbk"


def default_answers(base):
    return {
        API + "version/launcher": b"1014",
        API + "update/launcher": (base + "/files/launcher.exe").encode(),
        API + "version": CLIENT_VERSION.encode(),
        API + "download": (base + "/files/client.zip").encode(),
        API + "download/nocache": (base + "/files/client.zip").encode(),
        API + "update": (base + "/files/update.zip").encode(),
    }


class State:
    def __init__(self, base, root):
        self.base, self.root = base, root
        self.lock = threading.Lock()
        self.held = {}
        self.reset()

    def reset(self):
        """Default answers, empty log; held requests go on. Called with the
        lock held (or before the server runs)."""
        for event in self.held.values():
            event.set()
        self.answers = default_answers(self.base)
        self.statuses = {}
        self.log = []
        self.held = {}


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
        known = True
        with self.state.lock:
            if url.path == "/_control/answer" and path:
                self.state.answers[path] = body
            elif url.path == "/_control/status" and path:
                self.state.statuses[path] = int(query.get("code", ["200"])[0])
            elif url.path == "/_control/hold" and path:
                self.state.held.setdefault(path, threading.Event())
            elif url.path == "/_control/release" and path:
                event = self.state.held.pop(path, None)
                if event:
                    event.set()
            elif url.path == "/_control/reset":
                self.state.reset()
            else:
                known = False
        if known:
            self.send_body(200, b"ok")
        else:
            self.send_body(404, b"unknown control request")

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
            event = self.state.held.get(url.path)
        print(entry, flush=True)
        if event:
            event.wait(HOLD_LIMIT_SECONDS)
        if status and status != 200:
            self.send_body(status, b"")
        elif answer is not None:
            self.send_body(200, answer, answer_content_type(url.path))
        elif not send_launcher_page(self, url.path):
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
        ctype = "text/html; charset=utf-8" if full.endswith(".html") else "application/octet-stream"
        send_file_range(self, full, ctype)


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(name, data)


def caches_xml(version):
    return ('<?xml version="1.0" encoding="utf-8"?>\r\n<Caches>\r\n'
            '  <Cache Name="fivem" Version="%s" />\r\n</Caches>\r\n' % version).encode()


def write_default_content(root, bin_dir):
    """The archives and files a new user's launcher downloads."""
    files = os.path.join(root, "files")
    os.makedirs(files, exist_ok=True)

    def built(name):
        with open(os.path.join(bin_dir, name), "rb") as f:
            return f.read()

    fivem = built("FiveM.exe")
    write_zip(os.path.join(files, "client.zip"), [
        ("FiveM.exe", fivem),
        ("launcher_version.txt", CLIENT_VERSION.encode()),
        ("FiveM.app/caches.xml", caches_xml(CLIENT_VERSION)),
        ("FiveM.app/citizen/version.txt", CLIENT_VERSION.encode()),
    ])
    write_zip(os.path.join(files, "update.zip"), [
        ("launcher_version.txt", CLIENT_VERSION.encode()),
        ("FiveM.app/caches.xml", caches_xml(CLIENT_VERSION)),
        ("FiveM.app/citizen/version.txt", CLIENT_VERSION.encode()),
    ])
    # aria2c.exe is a script that needs its run bit, which no zip extraction
    # gives; the archive carries the Windows tools.
    write_zip(os.path.join(files, "launcher_plugin.zip"),
              [(name, built(name)) for name in ("7z.exe", "7z.dll", "node.dll", "zip.dll")])
    shutil.copyfile(os.path.join(bin_dir, "launcher.exe"), os.path.join(files, "launcher.exe"))
    # The updater window's header picture, drawn at build time.
    launcher_content = os.path.join(root, "fivem", "launcher")
    os.makedirs(launcher_content, exist_ok=True)
    shutil.copyfile(os.path.join(bin_dir, "header.jpg"), os.path.join(launcher_content, "header.jpg"))
    write_addon_packages(files)


def write_addon_packages(files):
    """The add-on packages the launcher page offers: archives whose top-level
    "FiveM" folder mirrors the FiveM folder. The large one holds 4 MB that do
    not compress, so its download takes a while and shows its progress."""
    readme = "Quillmere add-on package\r\n".encode()
    write_zip(os.path.join(files, "addon.zip"), [
        ("FiveM/FiveM.app/mods/quillmere-addon.rpf", b"RPF7" + bytes(range(256)) * 16),
        ("FiveM/FiveM.app/plugins/quillmere-addon.txt", readme),
    ])
    with zipfile.ZipFile(os.path.join(files, "addon-large.zip"), "w", zipfile.ZIP_STORED) as archive:
        archive.writestr("FiveM/FiveM.app/mods/quillmere-large.rpf", b"RPF7" + os.urandom(4 << 20))
        archive.writestr("FiveM/FiveM.app/plugins/quillmere-large.txt", readme)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=36580)
    parser.add_argument("--root", default=".", help="folder served below /")
    parser.add_argument("--content", metavar="BIN_DIR", help="write the default content from BIN_DIR first")
    parser.add_argument("--pid-file", help="file to write this process's id into once it listens")
    parser.add_argument("--info-file", help='file to write "PORT PID" into once it listens (for --port 0)')
    parser.add_argument("--max-seconds", type=float, default=0, help="end after this long (0: never)")
    args = parser.parse_args()
    if args.content:
        write_default_content(os.path.abspath(args.root), args.content)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    server.state = State("http://127.0.0.1:%d" % port, os.path.abspath(args.root))
    print("service: listening on 127.0.0.1:%d, serving %s" % (port, server.state.root), flush=True)
    for path, text in ((args.pid_file, "%d\n" % os.getpid()), (args.info_file, "%d %d\n" % (port, os.getpid()))):
        if path:
            with open(path + ".tmp", "w") as f:
                f.write(text)
            os.replace(path + ".tmp", path)
    if args.max_seconds > 0:
        def stop_later():
            time.sleep(args.max_seconds)
            os._exit(0)
        threading.Thread(target=stop_later, daemon=True).start()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
