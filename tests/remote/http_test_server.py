#!/usr/bin/env python3
"""Loopback HTTP server for the remote-transfer tests.

Serves files from ROOT under /files/NAME and a few special routes:
  /status/CODE             answers with that status and a small HTML body
  /redirect/N/NAME         N redirects, then /files/NAME
  /redirect-to?url=URL     one redirect to URL (any scheme)
  /huge?declared=0|1       an endless-looking body (bounded at 64 MiB)
  /stall                   headers, a few bytes, then silence (bounded)

Binds 127.0.0.1 on a free port, prints the port on the first line of stdout
and serves until stdin closes, it is killed, or ten minutes pass.
"""
import os
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ROOT = sys.argv[1]
HUGE_LIMIT = 64 << 20
LIFETIME_SECONDS = 600
STALL_SECONDS = 60


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def send_body(self, status, body, content_type="application/octet-stream", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for key, value in extra:
            self.send_header(key, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        parsed = urllib.parse.urlsplit(self.path)
        parts = [p for p in parsed.path.split("/") if p]
        query = urllib.parse.parse_qs(parsed.query)
        try:
            if parts and parts[0] == "files" and len(parts) == 2:
                name = urllib.parse.unquote(parts[1])
                path = os.path.join(ROOT, os.path.basename(name))
                if not os.path.isfile(path):
                    return self.send_body(404, b"<html><title>404 Not Found</title></html>",
                                          "text/html")
                with open(path, "rb") as f:
                    return self.send_body(200, f.read())
            if parts and parts[0] == "status" and len(parts) == 2:
                code = int(parts[1])
                return self.send_body(code, b"<html><body>status page</body></html>", "text/html")
            if parts and parts[0] == "redirect" and len(parts) == 3:
                left = int(parts[1])
                target = "/files/%s" % parts[2] if left <= 1 else "/redirect/%d/%s" % (left - 1, parts[2])
                return self.send_body(302, b"", extra=[("Location", target)])
            if parts == ["redirect-to"]:
                return self.send_body(302, b"", extra=[("Location", query["url"][0])])
            if parts == ["huge"]:
                declared = query.get("declared", ["0"])[0] == "1"
                self.send_response(200)
                self.send_header("Content-Type", "application/octet-stream")
                if declared:
                    self.send_header("Content-Length", str(HUGE_LIMIT))
                else:
                    self.send_header("Connection", "close")
                self.end_headers()
                chunk = b"x" * 65536
                sent = 0
                while sent < HUGE_LIMIT:
                    self.wfile.write(chunk)
                    sent += len(chunk)
                return
            if parts == ["stall"]:
                self.send_response(200)
                self.send_header("Content-Length", "1000")
                self.end_headers()
                self.wfile.write(b"partial")
                self.wfile.flush()
                time.sleep(STALL_SECONDS)
                return
            return self.send_body(404, b"<html><title>404 Not Found</title></html>", "text/html")
        except (BrokenPipeError, ConnectionResetError):
            return


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # clients that hang up early (size limit, cancel, time-out) are expected


def main():
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)

    def stop_when_stdin_closes():
        sys.stdin.read()
        server.shutdown()

    threading.Thread(target=stop_when_stdin_closes, daemon=True).start()
    threading.Timer(LIFETIME_SECONDS, server.shutdown).start()
    server.serve_forever()
    os._exit(0)


if __name__ == "__main__":
    main()
