"""The fixed pages the benchmark loads, and the server that hands them out.

One server on 127.0.0.1 answers both as a web server and as an HTTP proxy
(requests whose line holds an absolute URL, as WebKit sends them when
http_proxy points here), so the listing site's host name resolves to it
without any name service. Every host gets the same pages.

Pages report their own progress to the server: a request for
/__bench/<mark>?page=<name> arrives when the page has painted its first
frame ("paint", two animation frames after the document starts) and when its
load event has fired ("loaded", every picture in). The server stamps each
mark with time.monotonic(), the clock the harness reads too, so times are
measured from outside both programs without hooks in either.
"""

import queue
import struct
import threading
import time
import urllib.parse
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PICTURES = 50

BEACON_SCRIPT = (
    "<script>"
    "function benchMark(k){var i=new Image();"
    "i.src='/__bench/'+k+'?page=%s&r='+Math.random();window.benchKeep=i;}"
    "requestAnimationFrame(function(){requestAnimationFrame(function(){benchMark('paint');});});"
    "addEventListener('load',function(){benchMark('loaded');});"
    "</script>"
)

SERVERS = ["龙腾天下", "盛世王朝", "烈焰合击", "极品传说", "一八五复古", "轻变经典", "中变传奇", "一七六怀旧"]
KINDS = ["变态", "仿盛大", "合击", "极品", "复古", "轻变", "中变", "怀旧"]


def png(rgb, size=32):
    """A plain square picture of one colour."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    row = b"\x00" + bytes(rgb) * size
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * size))
            + chunk(b"IEND", b""))


PICTURE_BYTES = [png(((i * 53) % 256, (i * 97) % 256, (i * 29) % 256)) for i in range(PICTURES)]


def rows(count, with_pictures):
    out = []
    for i in range(count):
        name, kind = SERVERS[i % len(SERVERS)], KINDS[i % len(KINDS)]
        key = "".join("%%%02X" % b for b in kind.encode("gbk"))
        picture = ('<td><img src="/img/%d.png" width="32" height="32"></td>' % i) if with_pictures else ""
        out.append('<tr>%s<td><a href="/search.asp?key=%s&amp;otype=name&amp;n=%d">%s %d区</a></td>'
                   '<td>%s</td><td>电信%d线</td></tr>' % (picture, key, i, name, i + 1, kind, i % 4 + 1))
    return "\n".join(out)


def home_page():
    """The listing home: GBK text without a declared charset, as the
    listing sites serve it, so the views' default charset decides."""
    body = ("<h1>新开服务器一览</h1><p>今日新开，明日新开，热门推荐。</p>\n"
            "<table border=\"1\">%s</table>" % rows(50, False))
    return ("<!DOCTYPE html><html><head><title>新开服务器一览</title>%s</head><body>%s</body></html>"
            % (BEACON_SCRIPT % "home", body)).encode("gbk")


def search_page():
    """A search result: 50 links, each with its own picture."""
    body = ("<h1>搜索结果</h1><p>共 50 条结果</p>\n<table border=\"1\">%s</table>" % rows(50, True))
    return ("<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>搜索结果</title>%s</head>"
            "<body>%s</body></html>" % (BEACON_SCRIPT % "search", body)).encode("gbk")


HOME = home_page()
SEARCH = search_page()


class Site:
    def __init__(self):
        self.marks = queue.Queue()
        self.requests = 0
        self.lock = threading.Lock()
        # (time, request line) of every request, for looking into a slow load.
        self.trace = []

    def drain(self):
        while True:
            try:
                self.marks.get_nowait()
            except queue.Empty:
                return

    def wait_mark(self, mark, page, timeout):
        """The time of the next mark of that kind from that page, or None."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            try:
                kind, name, t = self.marks.get(timeout=left)
            except queue.Empty:
                return None
            if kind == mark and name == page:
                return t


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    site: Site = None

    def log_message(self, fmt, *args):
        pass

    def do_CONNECT(self):
        self.close_connection = True
        self.send(502, b"no tunnels here", "text/plain")

    def do_GET(self):
        now = time.monotonic()
        parts = urllib.parse.urlsplit(self.path)
        with self.site.lock:
            self.site.requests += 1
            self.site.trace.append((now, self.path))
        path = parts.path or "/"
        if path.startswith("/__bench/"):
            page = urllib.parse.parse_qs(parts.query).get("page", [""])[0]
            self.site.marks.put((path[len("/__bench/"):], page, now))
            return self.send(204, b"", "text/plain")
        if path in ("/", "/index.html"):
            return self.send(200, HOME, "text/html")
        if path == "/search.asp":
            return self.send(200, SEARCH, "text/html; charset=GBK")
        if path.startswith("/img/") and path.endswith(".png"):
            try:
                n = int(path[len("/img/"):-len(".png")])
            except ValueError:
                n = -1
            if 0 <= n < PICTURES:
                return self.send(200, PICTURE_BYTES[n], "image/png")
        return self.send(404, b"not here", "text/plain")

    def send(self, status, body, ctype):
        self.send_response(status)
        if status != 204:
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body)))
        # Every load goes over the wire, so both programs do the same work
        # on every run, however warm their caches are.
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if body and status != 204:
            self.wfile.write(body)


def start():
    """Starts the server in a thread; returns (site, port, server)."""
    site = Site()
    handler = type("BenchHandler", (Handler,), {"site": site})
    server = ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return site, server.server_address[1], server
