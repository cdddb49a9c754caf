#!/usr/bin/env python3
"""Local test web server (HTTP, HTTPS and an HTTP proxy) on 127.0.0.1.

Python 3 standard library only. Every listener binds to a free port and the
server prints one line per listener before "ready" on its standard output:

    http 40123
    https 40124          (with --cert and --key)
    proxy 40125          (with --proxy; --proxy-auth USER:PASSWORD demands Basic credentials;
                          --proxy-local-host NAME sends requests for NAME to this server)
    ready

It runs until its standard input reaches end of file or it gets SIGTERM.

Routes live in modules named routes_*.py next to this file; each registers
handlers with the @route decorator of webserver_core. Adding a site means
adding a module: nothing here changes.
"""
import argparse
import glob
import importlib.util
import os
import signal
import ssl
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import webserver_core as core  # noqa: E402


def load_route_modules():
    here = os.path.dirname(os.path.abspath(__file__))
    for path in sorted(glob.glob(os.path.join(here, "routes_*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        spec = importlib.util.spec_from_file_location(name, path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cert", help="server certificate (PEM) for the HTTPS listener")
    ap.add_argument("--key", help="private key (PEM) of the certificate")
    ap.add_argument("--proxy", action="store_true", help="also run an HTTP proxy")
    ap.add_argument("--proxy-auth", help="USER:PASSWORD the proxy demands (Basic)")
    ap.add_argument("--proxy-local-host", action="append", default=[],
                    help="a host name the proxy sends to this server (repeatable)")
    ap.add_argument("--port", type=int, default=0, help="port of the HTTP listener (0: free)")
    args = ap.parse_args()

    load_route_modules()
    servers = []

    http = core.make_server(args.port, core.SiteHandler)
    servers.append(("http", http))
    if args.cert and args.key:
        https = core.make_server(0, core.SiteHandler)
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(args.cert, args.key)
        https.socket = ctx.wrap_socket(https.socket, server_side=True)
        https.is_tls = True
        servers.append(("https", https))
    if args.proxy:
        proxy = core.make_server(0, core.ProxyHandler)
        proxy.proxy_auth = args.proxy_auth
        proxy.local_hosts = tuple(h.lower() for h in args.proxy_local_host)
        servers.append(("proxy", proxy))

    ports = {kind: srv.server_address[1] for kind, srv in servers}
    for _, srv in servers:
        srv.ports = ports
    for kind, srv in servers:
        print(kind, srv.server_address[1], flush=True)
        threading.Thread(target=srv.serve_forever, daemon=True).start()
    print("ready", flush=True)

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())

    def watch_stdin():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        except (OSError, ValueError):
            pass
        stop.set()

    threading.Thread(target=watch_stdin, daemon=True).start()
    stop.wait()
    core.shutting_down.set()
    for _, srv in servers:
        srv.server_close()
    # Handler threads are daemons; nothing is left to flush.
    os._exit(0)


if __name__ == "__main__":
    main()
