#!/usr/bin/env python3
"""Substitute blog service for Quillvault's tests and demo.

A loopback HTTP server that serves generated blogs in the page layout the
backup reads: a home page with the navigation tabs, article-list pages with
their entry markers, article pages with title and body markers and lazily
loaded images. It misbehaves on request (error statuses, resets, stalls,
cut-off bodies, bodies that never end, redirects, cookies that must come
back, home pages without the article-list tab), can grow new
articles between runs, logs every request it gets, and answers the author's
page (/brenlow) as well.

Start:  python3 tools/blogsvc.py --port 0 --articles 30 --per-page 10
The first line printed is "listening on 127.0.0.1:<port>".

Control URLs (never logged):
  GET  /_ctl/log[?clear=1]      requests so far, as JSON
  GET  /_ctl/state              the current settings, as JSON
  GET  /_ctl/add?n=3            adds n newer articles (newest first in lists)
  GET  /_ctl/edit?k=5           changes the body of article k
  GET  /_ctl/clear-faults       removes every fault
  POST /_ctl/config             merges a JSON object of settings (as in --config)
"""

import argparse
import http
import itertools
import json
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse
import zlib

AWKWARD_TITLES = [
    'C#: <Why>? a/b\\c*"d"|e',
    "带_下划线的标题",
    "CON",
    "tab\there",
    "dots...",
    "trailing blank ",
    "emoji \U0001F600 标题",
    "",
    "&amp; entity",
    "长" * 150,
    "普通标题",
]

DEFAULTS = {
    "articles": 30,
    "per_page": 10,
    "user": None,            # canonical user name; None: any name is a blog
    "unknown_user": "404",   # what another name gets: "404", or "page" (a page without the blog's tabs)
    "image_host": "img.example.com",
    "list_charset": "utf-8",  # or "gbk"
    "titles": "plain",       # "plain", "awkward" or a list of titles (cycled)
    "past_end": "empty",     # list pages past the last: "empty", "repeat" or "404"
    "transfer": "length",    # "length", "chunked" or "close"
    "redirect_home": False,  # /<user> answers 302 to /home/<user>
    "redirect_articles": 0,  # article links answer this many 301s first
    "require_cookie": False, # list and article pages need the home page's cookie
    "faults": [],            # [{"target": "article:3", "kind": "status", "arg": 500, "times": 1}]
}

FAULT_KINDS = ("status", "reset", "stall", "slow", "trickle", "endless", "truncate", "close", "redirect-loop")


class Blog:
    """The settings and the generated content, shared by all threads."""

    def __init__(self, settings):
        self.lock = threading.Lock()
        self.settings = dict(DEFAULTS)
        self.edits = {}
        self.log = []
        self.log_file = None
        self.merge(settings)

    def merge(self, settings):
        for key, value in settings.items():
            if key not in DEFAULTS:
                raise ValueError("unknown setting %r" % key)
            if key == "faults":
                value = [parse_fault(f) if isinstance(f, str) else check_fault(dict(f)) for f in value]
            self.settings[key] = value
        if self.settings["per_page"] < 1 or self.settings["articles"] < 0:
            raise ValueError("articles must be >= 0 and per_page >= 1")
        if self.settings["unknown_user"] not in ("404", "page"):
            raise ValueError("unknown_user is \"404\" or \"page\"")

    def title(self, k):
        titles = self.settings["titles"]
        if titles == "plain":
            return "第%d篇文章" % k
        if titles == "awkward":
            titles = AWKWARD_TITLES
        return titles[(k - 1) % len(titles)]

    def uid(self, user):
        return zlib.crc32(user.lower().encode("utf-8")) % 10**9 + 10**9

    def take_fault(self, target):
        with self.lock:
            for fault in self.settings["faults"]:
                if fault["target"] != target:
                    continue
                if fault.get("times") is not None:
                    if fault["times"] <= 0:
                        continue
                    fault["times"] -= 1
                return dict(fault)
        return None

    def record(self, entry):
        with self.lock:
            self.log.append(entry)
            if self.log_file:
                self.log_file.write(json.dumps(entry, ensure_ascii=False) + "\n")
                self.log_file.flush()


def check_fault(fault):
    if fault.get("kind") not in FAULT_KINDS:
        raise ValueError("unknown fault kind %r" % fault.get("kind"))
    target = fault.get("target", "")
    if not (target in ("home", "author") or target.startswith(("list:", "article:"))):
        raise ValueError("unknown fault target %r" % target)
    return fault


def parse_fault(text):
    """TARGET=KIND[:ARG][@TIMES], e.g. article:3=status:500@1."""
    target, sep, rest = text.partition("=")
    if not sep:
        raise ValueError("a fault is TARGET=KIND[:ARG][@TIMES]: %r" % text)
    rest, _, times = rest.partition("@")
    kind, _, arg = rest.partition(":")
    fault = {"target": target, "kind": kind}
    if arg:
        fault["arg"] = int(arg)
    if times:
        fault["times"] = int(times)
    return check_fault(fault)


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


class Page:
    def __init__(self, status=200, body=b"", content_type="text/html; charset=utf-8", headers=()):
        self.status = status
        self.body = body
        self.content_type = content_type
        self.headers = list(headers)


class Handler(socketserver.StreamRequestHandler):
    blog = None  # set by serve()

    # ---- request -----------------------------------------------------------

    def handle(self):
        try:
            request_line = self.rfile.readline(8192).decode("latin-1").rstrip("\r\n")
            headers = []
            total = 0
            while True:
                line = self.rfile.readline(8192)
                total += len(line)
                if not line or line in (b"\r\n", b"\n") or total > 65536:
                    break
                name, _, value = line.decode("latin-1").partition(":")
                headers.append([name.strip(), value.strip()])
        except (ConnectionError, socket.timeout):
            return
        parts = request_line.split(" ")
        if len(parts) != 3:
            return self.send(Page(400, b"bad request"))
        method, target, _ = parts
        self.target = target
        path = urllib.parse.unquote(target.split("?", 1)[0], encoding="utf-8", errors="replace")
        query = urllib.parse.parse_qs(target.split("?", 1)[1]) if "?" in target else {}
        self.header_map = {k.lower(): v for k, v in headers}
        if path.startswith("/_ctl/"):
            return self.control(method, path, query)
        self.blog.record({
            "time": time.time(), "method": method, "target": target, "path": path,
            "headers": headers, "client": self.client_address[0],
        })
        if method != "GET":
            return self.send(Page(405, b"only GET"))
        self.route(path)

    def control(self, method, path, query):
        blog = self.blog
        if path == "/_ctl/log":
            with blog.lock:
                body = json.dumps(blog.log, ensure_ascii=False)
                if "clear" in query:
                    blog.log.clear()
        elif path == "/_ctl/state":
            with blog.lock:
                body = json.dumps(blog.settings, ensure_ascii=False)
        elif path == "/_ctl/add":
            with blog.lock:
                blog.settings["articles"] += int(query.get("n", ["1"])[0])
                body = json.dumps({"articles": blog.settings["articles"]})
        elif path == "/_ctl/edit":
            k = int(query.get("k", ["1"])[0])
            with blog.lock:
                blog.edits[k] = blog.edits.get(k, 0) + 1
                body = json.dumps({"article": k, "edits": blog.edits[k]})
        elif path == "/_ctl/clear-faults":
            with blog.lock:
                blog.settings["faults"] = []
            body = "{}"
        elif path == "/_ctl/config" and method == "POST":
            length = int(self.header_map.get("content-length", "0"))
            try:
                with blog.lock:
                    blog.merge(json.loads(self.rfile.read(length) or b"{}"))
                    body = json.dumps(blog.settings, ensure_ascii=False)
            except (ValueError, TypeError) as e:
                return self.send(Page(400, str(e).encode(), "text/plain; charset=utf-8"))
        else:
            return self.send(Page(404, b"unknown control"))
        self.send(Page(200, body.encode("utf-8"), "application/json; charset=utf-8"))

    # ---- pages -------------------------------------------------------------

    def route(self, path):
        blog = self.blog
        host = self.header_map.get("host", "%s:%d" % self.server.server_address[:2])
        base = "http://" + host
        segments = path.strip("/").split("/")
        if path == "/brenlow":
            return self.send(Page(200, b"<html><body>author</body></html>"), "author")
        if path.startswith("/s/"):
            name = segments[-1]
            if name.startswith("articlelist_") and name.endswith(".html"):
                try:
                    page = int(name[:-5].rsplit("_", 1)[1])
                except ValueError:
                    return self.send(Page(404, b"no such page"))
                return self.list_page(base, page)
            if name.startswith(("blog_", "article_")) and name.endswith(".html"):
                return self.article(base, name)
            return self.send(Page(404, b"no such page"))
        if len(segments) == 2 and segments[0] == "home":
            return self.home(base, segments[1], redirected=True)
        if len(segments) == 1 and segments[0]:
            return self.home(base, segments[0], redirected=False)
        self.send(Page(404, b"no such page"))

    def canonical_user(self, name):
        user = self.blog.settings["user"]
        if user is None:
            return name
        return user if user.lower() == name.lower() else None

    def home(self, base, name, redirected):
        blog = self.blog
        user = self.canonical_user(name)
        if user is None:
            if blog.settings["unknown_user"] == "page":
                # As a service answers a name it does not know: a page of its
                # own, without the blog's navigation tabs.
                html = '<html><head><meta charset="utf-8" /><title>博客不存在</title></head><body>\n' \
                       '<p>抱歉，您要访问的博客不存在。</p><a href="%s/">首页</a>\n</body></html>\n' % base
                return self.send(Page(200, html.encode("utf-8")), "home")
            return self.send(Page(404, b"no such blog"), "home")
        if blog.settings["redirect_home"] and not redirected:
            # Relative, so the client has to resolve it against the request.
            location = "home/" + urllib.parse.quote(name)
            return self.send(Page(302, b"", headers=[("Location", location)]), "home")
        uid = blog.uid(user)
        html = (
            '<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8" />'
            "<title>%(u)s的博客</title></head><body>\n"
            '<div class="blognav"><div class="blognavInfo">\n'
            '<span><a href="%(b)s/%(u)s" class="on">首页</a></span>\n'
            '<span><a href="%(b)s/s/articlelist_%(id)d_0_1.html">博文目录</a></span>\n'
            '<span><a href="%(b)s/s/album_%(id)d.html">图片</a></span>\n'
            '<span class="last"><a href="%(b)s/s/profile_%(id)d.html">关于我</a></span>\n'
            "</div></div></body></html>\n" % {"b": base, "u": user, "id": uid}
        )
        cookie = "qvsid=%d; Path=/" % uid
        self.send(Page(200, html.encode("utf-8"), headers=[("Set-Cookie", cookie)]), "home")

    def cookie_ok(self):
        if not self.blog.settings["require_cookie"]:
            return True
        cookies = self.header_map.get("cookie", "")
        return any(c.strip().startswith("qvsid=") for c in cookies.split(";"))

    def list_page(self, base, page):
        blog = self.blog
        target = "list:%d" % page
        if not self.cookie_ok():
            return self.send(Page(403, b"cookie missing"), target)
        with blog.lock:
            count, per_page = blog.settings["articles"], blog.settings["per_page"]
            past_end, charset = blog.settings["past_end"], blog.settings["list_charset"]
        pages = max(1, (count + per_page - 1) // per_page)
        shown = page
        if page > pages:
            if past_end == "404":
                return self.send(Page(404, b"no such page"), target)
            shown = pages if past_end == "repeat" else None
        rows = []
        if shown is not None and page >= 1:
            newest = count - (shown - 1) * per_page
            for k in range(newest, max(0, newest - per_page), -1):
                rows.append(
                    '<div class="articleCell"><p class="atc_main"><span class="atc_ico"></span>'
                    '<span class="atc_title"><a href="%s/s/blog_%d.html" title="" target="_blank">%s</a></span></p>'
                    '<p class="atc_info"><span class="atc_tm">2024-01-%02d 12:00</span></p></div>'
                    % (base, 1000 + k, esc(blog.title(k)), k % 28 + 1)
                )
        html = (
            '<html><head><meta http-equiv="Content-Type" content="text/html; charset=%s" />'
            "<title>文章列表</title></head><body>\n"
            '<div class="articleList">\n%s\n</div>\n'
            '<div class="SG_page">共%d页</div></body></html>\n' % (charset, "\n".join(rows), pages)
        )
        body = html.encode(charset, errors="xmlcharrefreplace")
        self.send(Page(200, body, "text/html; charset=%s" % charset), target)

    def article(self, base, name):
        blog = self.blog
        try:
            k = int(name[:-5].split("_")[1]) - 1000
        except ValueError:
            return self.send(Page(404, b"no such article"))
        target = "article:%d" % k
        if not self.cookie_ok():
            return self.send(Page(403, b"cookie missing"), target)
        with blog.lock:
            count = blog.settings["articles"]
            hops = blog.settings["redirect_articles"]
            image_host = blog.settings["image_host"]
            edits = blog.edits.get(k, 0)
        if not 1 <= k <= count:
            return self.send(Page(404, b"no such article"), target)
        # blog_K.html -> article_K_1.html -> ... -> article_K.html
        step = 0 if name.startswith("blog_") else (int(name[:-5].split("_")[2]) if name.count("_") == 2 else hops)
        if step < hops:
            nxt = "article_%d_%d.html" % (1000 + k, step + 1) if step + 1 < hops else "article_%d.html" % (1000 + k)
            return self.send(Page(301, b"", headers=[("Location", base + "/s/" + nxt)]), target)
        title = blog.title(k)
        edited = "".join("<p>（第%d次修改）</p>" % (i + 1) for i in range(edits))
        lazy = 'src="http://%s/blog7style/images/common/sg_trans.gif" real_src ' % image_host
        html = (
            '<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8" />'
            "<title>%(t)s_博客_Blog</title></head><body>\n"
            '<div class="articalTitle"><h2 class="titName">%(et)s</h2></div>\n'
            '<div class="articalContent" id="articleBody">\n'
            "<p>文章 %(k)d 的正文。Body of article %(k)d.</p>\n"
            '<p><img %(lazy)s="http://%(img)s/pic/%(k)d_1.jpg" width="500" /></p>\n'
            "%(edited)s</div>\n"
            '<div class="shareUp"><a href="#">分享</a></div>\n'
            "</body></html>\n"
            % {"t": title, "et": esc(title), "k": k, "lazy": lazy, "img": image_host, "edited": edited}
        )
        self.send(Page(200, html.encode("utf-8")), target)

    # ---- response ----------------------------------------------------------

    def send(self, page, target=None):
        fault = self.blog.take_fault(target) if target else None
        sock = self.connection
        if fault:
            kind = fault["kind"]
            if kind == "status":
                code = fault.get("arg", 500)
                page = Page(code, ("fault %d" % code).encode())
            elif kind == "reset":
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()
                return
            elif kind == "close":
                return
            elif kind == "redirect-loop":
                page = Page(302, b"", headers=[("Location", self.target)])
        try:
            reason = http.HTTPStatus(page.status).phrase
        except ValueError:
            reason = "Status"
        head = ["HTTP/1.1 %d %s" % (page.status, reason), "Content-Type: " + page.content_type]
        head += ["%s: %s" % h for h in page.headers]
        body = page.body
        transfer = self.blog.settings["transfer"]
        if fault and fault["kind"] in ("truncate", "stall"):
            transfer = "length"
        if transfer == "chunked":
            head.append("Transfer-Encoding: chunked")
            half = len(body) // 2
            chunks = [c for c in (body[:half], body[half:]) if c]
            body = b"".join(b"%x\r\n%s\r\n" % (len(c), c) for c in chunks) + b"0\r\n\r\n"
        elif transfer == "length":
            head.append("Content-Length: %d" % len(body))
        head.append("Connection: close")
        data = ("\r\n".join(head) + "\r\n\r\n").encode("latin-1") + body
        try:
            if fault and fault["kind"] == "slow":
                time.sleep(fault.get("arg", 5))
            elif fault and fault["kind"] == "trickle":
                for i in range(len(data)):
                    sock.sendall(data[i:i + 1])
                    time.sleep(fault.get("arg", 1000) / 1000.0)
                return
            elif fault and fault["kind"] == "endless":
                # A body delimited by the close that never comes, arg bytes a
                # second: fast enough for any rule on the rate alone.
                head = [h for h in head if not h.startswith(("Content-Length:", "Transfer-Encoding:"))]
                sock.sendall(("\r\n".join(head) + "\r\n\r\n").encode("latin-1"))
                rate = max(1, fault.get("arg", 40))
                filler = page.body or b" "
                for i in itertools.count():
                    sock.sendall(bytes(filler[(i * rate + j) % len(filler)] for j in range(rate)))
                    time.sleep(1)
            if fault and fault["kind"] in ("truncate", "stall"):
                cut = len(data) - max(1, len(body) // 2)
                sock.sendall(data[:cut])
                if fault["kind"] == "stall":
                    time.sleep(fault.get("arg", 600))
                return
            sock.sendall(data)
        except (ConnectionError, OSError):
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main(argv=None):
    ap = argparse.ArgumentParser(
        description=__doc__,
        formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog="Faults: TARGET=KIND[:ARG][@TIMES]; TARGET is home, author, list:P or article:K; "
        "KIND is status:CODE, reset, stall[:SECONDS] (half the answer, a wait, the close), slow[:SECONDS] "
        "(a wait, then the whole answer), trickle[:MS] (one byte every MS), endless[:BYTES] (a body of BYTES "
        "a second, 40 by default, that never ends), truncate, close or redirect-loop; "
        "@TIMES limits how often it fires. Example: --fault article:3=status:500@1",
    )
    ap.add_argument("--host", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    ap.add_argument("--port", type=int, default=8080, help="port, 0 for any free one (default 8080)")
    ap.add_argument("--config", help="JSON file of settings (the keys of /_ctl/state)")
    ap.add_argument("--articles", type=int, help="number of articles (default 30)")
    ap.add_argument("--per-page", type=int, help="articles per list page (default 10)")
    ap.add_argument("--user", help="the one blog's user name (any letter case is served)")
    ap.add_argument("--unknown-user", choices=["404", "page"], help="what other names get (default 404)")
    ap.add_argument("--image-host", help="host in the lazy-load image placeholder (default img.example.com)")
    ap.add_argument("--list-charset", choices=["utf-8", "gbk"], help="charset of list pages")
    ap.add_argument("--titles", choices=["plain", "awkward"], help="article titles")
    ap.add_argument("--past-end", choices=["empty", "repeat", "404"], help="list pages after the last one")
    ap.add_argument("--transfer", choices=["length", "chunked", "close"], help="how bodies are delimited")
    ap.add_argument("--redirect-home", action="store_true", default=None, help="home page answers 302 first")
    ap.add_argument("--redirect-articles", type=int, help="301 hops before each article")
    ap.add_argument("--require-cookie", action="store_true", default=None, help="pages need the home page's cookie")
    ap.add_argument("--fault", action="append", default=[], help="add a fault (see below)")
    ap.add_argument("--log", help="append every request as a JSON line to this file")
    ap.add_argument("--port-file", help="write the port number to this file once listening")
    args = ap.parse_args(argv)

    settings = {}
    if args.config:
        with open(args.config, encoding="utf-8") as f:
            settings.update(json.load(f))
    for key in ("articles", "per_page", "user", "unknown_user", "image_host", "list_charset", "titles", "past_end", "transfer",
                "redirect_home", "redirect_articles", "require_cookie"):
        value = getattr(args, key)
        if value is not None:
            settings[key] = value
    if args.fault:
        settings["faults"] = list(settings.get("faults", [])) + args.fault
    try:
        blog = Blog(settings)
    except ValueError as e:
        ap.error(str(e))
    if args.log:
        blog.log_file = open(args.log, "a", encoding="utf-8")

    Handler.blog = blog
    server = Server((args.host, args.port), Handler)
    host, port = server.server_address[:2]
    print("listening on %s:%d" % (host, port), flush=True)
    if args.port_file:
        with open(args.port_file, "w") as f:
            f.write("%d\n" % port)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
