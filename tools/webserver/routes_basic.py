"""General routes for testing HTTP clients.

Bodies made by send_generated are bytes 0, 1, ..., 255 repeated from offset 0.

  /body/N              N bytes with Content-Length
  /nolength/N          N bytes without Content-Length (connection closes)
  /chunked/N?pieces=K  N bytes in K chunks (Transfer-Encoding: chunked)
  /bytes?hex=..&type=  the given bytes with the given Content-Type
  /redirect?to=URL&code=302
  /chain/N             redirects N times, then answers "arrived"
  /loop                redirects to itself for ever
  /to-https?path=P     redirects to P on the HTTPS listener
  /setcookie?name=&value=   sets a cookie (path /)
  /headers             echoes the request headers, one "Name: value" line each
  /status/CODE         answers with that status and a short text
  /reset/N             announces 2N bytes, sends N, then resets the connection
  /short/N             announces 2N bytes, sends N, then closes normally
  /chunked-reset/N     one chunk of N bytes, then a reset
  /chunked-cut/N       one chunk of N bytes, then a normal close without the last chunk
  /hang                accepts the request and never answers
  /slow/N?block=B&delay=MS   N bytes in blocks of B with a pause after each
"""
import binascii

from webserver_core import route

_REASONS = {200: "OK", 301: "Moved Permanently", 302: "Found", 303: "See Other",
            307: "Temporary Redirect", 404: "Not Found", 500: "Internal Server Error"}


@route(r"/body/(\d+)")
def body(req, m):
    req.send_generated(int(m.group(1)), block=int(req.arg("block", 65536)))


@route(r"/nolength/(\d+)")
def nolength(req, m):
    req.send_generated(int(m.group(1)), length=False)


@route(r"/chunked/(\d+)")
def chunked(req, m):
    n = int(m.group(1))
    k = max(1, int(req.arg("pieces", 4)))
    data = (bytes(range(256)) * (n // 256 + 1))[:n]
    step = max(1, (n + k - 1) // k)
    req.send_chunked([data[i:i + step] for i in range(0, n, step)],
                     content_type="application/octet-stream")


@route(r"/bytes")
def raw_bytes(req, m):
    data = binascii.unhexlify(req.arg("hex", ""))
    req.send(200, data, content_type=req.arg("type", "application/octet-stream"))


def _redirect(req, location, code=302):
    req.send(code, "see %s\n" % location, headers=[("Location", location)])


@route(r"/redirect")
def redirect(req, m):
    _redirect(req, req.arg("to", "/"), int(req.arg("code", 302)))


@route(r"/chain/(\d+)")
def chain(req, m):
    n = int(m.group(1))
    if n <= 0:
        req.send(200, "arrived")
    else:
        _redirect(req, "/chain/%d" % (n - 1))


@route(r"/loop")
def loop(req, m):
    _redirect(req, "/loop")


@route(r"/to-https")
def to_https(req, m):
    _redirect(req, req.base_url("https") + req.arg("path", "/"))


@route(r"/setcookie")
def setcookie(req, m):
    name, value = req.arg("name", "session"), req.arg("value", "1")
    req.send(200, "cookie set\n", headers=[("Set-Cookie", "%s=%s; Path=/" % (name, value))])


@route(r"/headers")
def headers(req, m):
    lines = ["%s: %s" % (k, v) for k, v in req.headers.items()]
    req.send(200, "\n".join(lines) + "\n")


@route(r"/status/(\d{3})")
def status(req, m):
    code = int(m.group(1))
    req.send(code, "status %d\n" % code)


@route(r"/reset/(\d+)")
def reset(req, m):
    n = int(m.group(1))
    req.send_response(200)
    req.send_header("Content-Type", "application/octet-stream")
    req.send_header("Content-Length", str(2 * n))
    req.end_headers()
    req.wfile.write(b"r" * n)
    req.reset_connection()


@route(r"/short/(\d+)")
def short(req, m):
    n = int(m.group(1))
    req.send_response(200)
    req.send_header("Content-Type", "application/octet-stream")
    req.send_header("Content-Length", str(2 * n))
    req.send_header("Connection", "close")
    req.end_headers()
    req.wfile.write(b"s" * n)
    req.close_connection = True


@route(r"/chunked-reset/(\d+)")
def chunked_reset(req, m):
    n = int(m.group(1))
    req.send_response(200)
    req.send_header("Content-Type", "application/octet-stream")
    req.send_header("Transfer-Encoding", "chunked")
    req.end_headers()
    req.wfile.write(b"%x\r\n%s\r\n" % (n, b"c" * n))
    req.reset_connection()


@route(r"/chunked-cut/(\d+)")
def chunked_cut(req, m):
    n = int(m.group(1))
    req.send_response(200)
    req.send_header("Content-Type", "application/octet-stream")
    req.send_header("Transfer-Encoding", "chunked")
    req.end_headers()
    req.wfile.write(b"%x\r\n%s\r\n" % (n, b"c" * n))
    req.close_connection = True


@route(r"/hang")
def hang(req, m):
    req.hold_silently()


@route(r"/slow/(\d+)")
def slow(req, m):
    req.send_generated(int(m.group(1)), block=int(req.arg("block", 1024)),
                       delay=int(req.arg("delay", 50)) / 1000.0)
