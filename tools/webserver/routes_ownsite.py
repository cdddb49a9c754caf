"""The own site, as the downloader sees it.

  /index.php                 the start page; sets the session cookie
  /video/ID[/SLUG]           a video page built from tests/data/ownsite/template.html
        ?title=T&time=T&views=V  the page's texts (defaults: a plain title, 03:05, 17);
                                 the title goes in as given, entities and all
        &sources=0|1|2           how many <source> addresses (default 2)
        &relative=1              the first address protocol-relative ("//..."), on
                                 the HTTPS listener when there is one
        &media=KIND&size=N       what the media addresses answer (default length, 100000)
        &marker=WORD             the media body starts with WORD
        &delay=MS&block=B        for KIND slow
        &needcookie=1            403 unless the session cookie comes along
  /media/KIND/N/NAME         N bytes of media; GET and HEAD. KIND:
        length    with Content-Length
        nolength  without Content-Length, the connection closes after the body
        chunked   Transfer-Encoding: chunked (no length on HEAD either)
        slow      with Content-Length, in blocks of B (?block=, 1024) every MS (?delay=, 50)
        reset     announces N bytes, sends half, then resets the connection
        stall     announces N bytes, sends half, then sends nothing more (until the
                  client leaves or ?hold= seconds, default 120, have passed)
        missing   404
  /ownsite/log               every own-site request so far, one line each:
                             "METHOD PATH|cookie=...|ua=...|referer=..." ("-" when absent)
  /ownsite/log/clear         empties the log
"""
import html
import os
import threading
import urllib.parse
import uuid

from webserver_core import route

_HERE = os.path.dirname(os.path.abspath(__file__))
_TEMPLATE = os.path.join(_HERE, "..", "..", "tests", "data", "ownsite", "template.html")
_COOKIE = "velmora_session"

_log = []
_log_lock = threading.Lock()


def _record(req):
    with _log_lock:
        _log.append("%s %s|cookie=%s|ua=%s|referer=%s" % (
            req.command, req.path, req.headers.get("Cookie", "-"),
            req.headers.get("User-Agent", "-"), req.headers.get("Referer", "-")))


def _logged(fn):
    def wrapper(req, m):
        _record(req)
        fn(req, m)
    return wrapper


def _has_session(req):
    return ("%s=" % _COOKIE) in req.headers.get("Cookie", "")


@route(r"/index\.php")
@_logged
def index(req, m):
    token = uuid.uuid4().hex
    req.send(200, "<html><head><title>Velmora - free videos</title></head><body>Velmora</body></html>",
             content_type="text/html; charset=utf-8",
             headers=[("Set-Cookie", "%s=%s; Path=/" % (_COOKIE, token))])


def _media_address(req, base, video_id, suffix):
    kind = req.arg("media", "length")
    size = int(req.arg("size", 100000))
    query = {k: req.arg(k) for k in ("marker", "delay", "block") if req.arg(k) is not None}
    address = "%s/media/%s/%d/%s%s.flv" % (base, kind, size, video_id, suffix)
    if query:
        address += "?" + urllib.parse.urlencode(query)
    return address


@route(r"/video/(\d+)(/[^/]*)?")
@_logged
def video(req, m):
    if req.arg("needcookie") == "1" and not _has_session(req):
        req.send(403, "no session\n")
        return
    video_id = m.group(1)
    count = max(0, min(2, int(req.arg("sources", 2))))
    addresses = []
    if count >= 1:
        if req.arg("relative") == "1":
            kind = "https" if "https" in req.server.ports else "http"
            first = _media_address(req, req.base_url(kind), video_id, "")
            first = first[first.index("//"):]
        else:
            first = _media_address(req, req.base_url(), video_id, "")
        addresses.append(first)
    if count >= 2:
        addresses.append(_media_address(req, req.base_url(), video_id, "_hq"))
    sources = "".join('<source src="%s" type="video/x-flv">\n' % a for a in addresses)
    with open(_TEMPLATE, encoding="utf-8") as f:
        page = f.read()
    page = (page.replace("{{TITLE}}", req.arg("title", "Harbour Lights"))
                .replace("{{TIME}}", html.escape(req.arg("time", "03:05")))
                .replace("{{VIEWS}}", html.escape(req.arg("views", "17")))
                .replace("{{SOURCES}}", sources))
    req.send(200, page, content_type="text/html; charset=utf-8")


def _body(size, marker):
    data = marker.encode("utf-8")[:size]
    pattern = bytes(range(256))
    rest = size - len(data)
    return data + (pattern * (rest // 256 + 1))[:rest]


@route(r"/media/(length|nolength|chunked|slow|reset|stall|missing)/(\d+)/[^/]*")
@_logged
def media(req, m):
    kind, size = m.group(1), int(m.group(2))
    marker = req.arg("marker", "")
    if kind == "missing":
        req.send(404, "no such video\n")
    elif kind == "length":
        req.send(200, _body(size, marker), content_type="video/x-flv")
    elif kind == "nolength":
        req.send(200, _body(size, marker), content_type="video/x-flv", length=False)
    elif kind == "chunked":
        data = _body(size, marker)
        step = max(1, size // 4)
        req.send_chunked([data[i:i + step] for i in range(0, size, step)],
                         content_type="video/x-flv")
    elif kind == "slow":
        req.send_generated(size, block=int(req.arg("block", 1024)), content_type="video/x-flv",
                           delay=int(req.arg("delay", 50)) / 1000.0)
    elif kind == "stall":
        req.send_response(200)
        req.send_header("Content-Type", "video/x-flv")
        req.send_header("Content-Length", str(size))
        req.end_headers()
        if req.command != "HEAD":
            req.wfile.write(_body(size // 2, marker))
            req.wfile.flush()
            req.hold_silently(float(req.arg("hold", 120)))
    else:  # reset
        req.send_response(200)
        req.send_header("Content-Type", "video/x-flv")
        req.send_header("Content-Length", str(size))
        req.end_headers()
        if req.command != "HEAD":
            req.wfile.write(_body(size // 2, marker))
            req.reset_connection()


@route(r"/ownsite/log")
def log(req, m):
    with _log_lock:
        text = "".join(line + "\n" for line in _log)
    req.send(200, text)


@route(r"/ownsite/log/clear")
def log_clear(req, m):
    with _log_lock:
        del _log[:]
    req.send(200, "cleared\n")
