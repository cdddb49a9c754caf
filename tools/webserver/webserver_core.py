"""Core of the local test server: the route table, the request handler that
dispatches to it, response helpers, and the HTTP proxy."""
import base64
import http.client
import http.server
import re
import select
import socket
import socketserver
import struct
import threading
import urllib.parse

shutting_down = threading.Event()

# (compiled pattern, handler); the first pattern that matches the whole path wins.
_routes = []


def route(pattern):
    """Registers handler(req, match) for paths matching the regular expression.
    The handler answers through req (a SiteHandler); a HEAD request runs the
    same handler with the body suppressed."""
    def register(fn):
        _routes.append((re.compile(pattern + r"\Z"), fn))
        return fn
    return register


class ThreadingServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64
    is_tls = False
    ports = {}
    proxy_auth = None
    # Host names the proxy sends to this server's own listeners (lower case).
    local_hosts = ()

    def handle_error(self, request, client_address):
        pass  # clients that go away are part of the tests


def make_server(port, handler):
    return ThreadingServer(("127.0.0.1", port), handler)


class SiteHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VelmoraTestServer/1"

    def log_message(self, fmt, *args):
        pass

    # -- helpers for route handlers --------------------------------------
    @property
    def query(self):
        return urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)

    def arg(self, name, default=None):
        v = self.query.get(name)
        return v[0] if v else default

    def base_url(self, kind=None):
        """Address of this server's listener of the given kind (http/https)."""
        if kind is None:
            kind = "https" if self.server.is_tls else "http"
        return "%s://127.0.0.1:%d" % (kind, self.server.ports[kind])

    def send(self, status, body=b"", content_type="text/plain; charset=utf-8",
             headers=None, length=True):
        """A whole response. length=False: no Content-Length, the connection
        closes after the body."""
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.send_response(status)
        if content_type:
            self.send_header("Content-Type", content_type)
        for k, v in (headers or []):
            self.send_header(k, v)
        if length:
            self.send_header("Content-Length", str(len(body)))
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def send_generated(self, size, block=65536, content_type="application/octet-stream",
                       delay=0.0, length=True):
        """size bytes of a repeating pattern written block by block, never held whole."""
        pattern = bytes(range(256)) * (block // 256 + 1)
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        if length:
            self.send_header("Content-Length", str(size))
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        if self.command == "HEAD":
            return
        sent = 0
        view = memoryview(pattern)
        while sent < size and not shutting_down.is_set():
            n = min(block, size - sent)
            self.wfile.write(view[:n])
            sent += n
            if delay:
                self.wfile.flush()
                shutting_down.wait(delay)

    def send_chunked(self, pieces, content_type="text/plain; charset=utf-8"):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        if self.command == "HEAD":
            return
        for p in pieces:
            if isinstance(p, str):
                p = p.encode("utf-8")
            if p:
                self.wfile.write(b"%x\r\n%s\r\n" % (len(p), p))
        self.wfile.write(b"0\r\n\r\n")

    def reset_connection(self):
        """Ends the connection with a TCP reset instead of an orderly close."""
        self.wfile.flush()
        sock = self.connection
        try:
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        except OSError:
            pass
        self.close_connection = True
        try:
            sock.close()
        except OSError:
            pass

    def hold_silently(self, seconds=120):
        """Accepts the request and never answers, until the client leaves."""
        self.close_connection = True
        sock = self.connection
        waited = 0.0
        while waited < seconds and not shutting_down.is_set():
            r, _, _ = select.select([sock], [], [], 0.2)
            waited += 0.2
            if r:
                try:
                    if not sock.recv(4096):
                        return
                except OSError:
                    return

    # -- dispatch --------------------------------------------------------
    def dispatch(self):
        path = urllib.parse.urlsplit(self.path).path
        for pattern, fn in _routes:
            m = pattern.match(path)
            if m:
                try:
                    fn(self, m)
                except (BrokenPipeError, ConnectionResetError):
                    self.close_connection = True
                return
        self.send(404, "not found: %s\n" % path)

    def do_GET(self):
        self.dispatch()

    def do_HEAD(self):
        self.dispatch()

    def do_POST(self):
        n = int(self.headers.get("Content-Length") or 0)
        self.request_body = self.rfile.read(n) if n > 0 else b""
        self.dispatch()


def _check_proxy_auth(handler):
    want = handler.server.proxy_auth
    if not want:
        return True
    got = handler.headers.get("Proxy-Authorization", "")
    if got.startswith("Basic "):
        try:
            if base64.b64decode(got[6:].strip()).decode("utf-8") == want:
                return True
        except (ValueError, UnicodeDecodeError):
            pass
    body = b"proxy authentication required\n"
    handler.send_response(407)
    handler.send_header("Proxy-Authenticate", 'Basic realm="test proxy"')
    handler.send_header("Content-Length", str(len(body)))
    handler.send_header("Content-Type", "text/plain")
    handler.end_headers()
    handler.wfile.write(body)
    return False


def _loopback(host):
    return host == "localhost" or host.startswith("127.") or host == "::1"


class ProxyHandler(http.server.BaseHTTPRequestHandler):
    """A forwarding proxy: absolute-URI requests are relayed (with a Via
    header on the answer) and CONNECT opens a tunnel. Hosts named with
    --proxy-local-host go to this server's own listeners; any other host
    that is not a loopback address is refused (502), so nothing a test does
    through the proxy leaves the machine."""
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def target(self, host, port, kind):
        """(host, port) to connect to, or None when the host is not allowed."""
        if host.lower() in self.server.local_hosts:
            return "127.0.0.1", self.server.ports[kind]
        if _loopback(host):
            return host, port
        return None

    def do_CONNECT(self):
        if not _check_proxy_auth(self):
            return
        host, _, port = self.path.rpartition(":")
        try:
            where = self.target(host.strip("[]"), int(port), "https" if "https" in self.server.ports else "http")
            if where is None:
                raise ValueError(host)
            upstream = socket.create_connection(where, timeout=10)
        except (OSError, ValueError):
            self.send_error(502)
            return
        self.send_response(200, "Connection established")
        self.end_headers()
        self.close_connection = True
        client = self.connection
        upstream.settimeout(None)
        socks = [client, upstream]
        try:
            while not shutting_down.is_set():
                r, _, _ = select.select(socks, [], [], 0.5)
                for s in r:
                    data = s.recv(65536)
                    if not data:
                        return
                    (upstream if s is client else client).sendall(data)
        except OSError:
            pass
        finally:
            upstream.close()

    def relay(self):
        if not _check_proxy_auth(self):
            return
        url = urllib.parse.urlsplit(self.path)
        if url.scheme != "http" or not url.hostname:
            self.send_error(400, "absolute http URI expected")
            return
        headers = {k: v for k, v in self.headers.items()
                   if k.lower() not in ("proxy-authorization", "proxy-connection", "connection")}
        body = None
        n = int(self.headers.get("Content-Length") or 0)
        if n > 0:
            body = self.rfile.read(n)
        where = self.target(url.hostname, url.port or 80, "http")
        if where is None:
            self.send_error(502, "host not served here")
            return
        conn = http.client.HTTPConnection(where[0], where[1], timeout=30)
        target = url.path or "/"
        if url.query:
            target += "?" + url.query
        try:
            conn.request(self.command, target, body=body, headers=headers)
            resp = conn.getresponse()
            data = resp.read() if self.command != "HEAD" else b""
        except (OSError, http.client.HTTPException):
            self.send_error(502)
            return
        finally:
            conn.close()
        self.send_response(resp.status, resp.reason)
        for k, v in resp.getheaders():
            if k.lower() not in ("transfer-encoding", "connection", "content-length",
                                 "server", "date"):
                self.send_header(k, v)
        self.send_header("Via", "1.1 velmora-test-proxy")
        if self.command != "HEAD" or resp.getheader("Content-Length") is None:
            self.send_header("Content-Length", str(len(data)))
        else:
            self.send_header("Content-Length", resp.getheader("Content-Length"))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(data)

    do_GET = relay
    do_HEAD = relay
    do_POST = relay
