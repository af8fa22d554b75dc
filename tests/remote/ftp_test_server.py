#!/usr/bin/env python3
"""Loopback FTP server (pyftpdlib) for the remote-transfer tests.

Usage: ftp_test_server.py ROOT [--no-rename-over] [--no-rename] [--abort-upload-after N]

Users: "writer"/"secret" (full rights) and "reader"/"look" (read only), both
rooted at ROOT.
  --no-rename-over       RNTO onto an existing file is refused (as some servers do)
  --no-rename            every RNFR is refused
  --abort-upload-after N a STOR data connection is cut after N bytes

Binds 127.0.0.1 on a free port, prints the port on the first line of stdout
and serves until stdin closes, it is killed, or ten minutes pass.
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

LIFETIME_SECONDS = 600


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--no-rename-over", action="store_true")
    parser.add_argument("--no-rename", action="store_true")
    parser.add_argument("--abort-upload-after", type=int, default=0)
    args = parser.parse_args()

    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user("writer", "secret", args.root, perm="elradfmwMT")
    authorizer.add_user("reader", "look", args.root, perm="elr")

    class CuttingDTP(DTPHandler):
        received = 0

        def handle_read(self):
            DTPHandler.handle_read(self)
            self.received = self.tot_bytes_received
            if args.abort_upload_after and self.receive and self.received >= args.abort_upload_after:
                # What a server whose disk fills up answers.
                self._resp = ("426 Transfer aborted; connection closed.", logging.debug)
                self.close()

        handle_read_event = handle_read  # the base class calls this name

    class Handler(FTPHandler):
        def ftp_RNFR(self, path):
            if args.no_rename:
                self.respond("550 Renaming is not allowed here.")
                return
            return FTPHandler.ftp_RNFR(self, path)

        def ftp_RNTO(self, path):
            if args.no_rename_over and os.path.exists(path):
                self._rnfr = None
                self.respond("550 Target exists.")
                return
            return FTPHandler.ftp_RNTO(self, path)

    Handler.authorizer = authorizer
    Handler.dtp_handler = CuttingDTP
    Handler.permit_foreign_addresses = False
    Handler.timeout = 60
    Handler.auth_failed_timeout = 0.1  # answer a wrong password at once
    server = FTPServer(("127.0.0.1", 0), Handler)
    print(server.address[1], flush=True)

    def stop_when_stdin_closes():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=stop_when_stdin_closes, daemon=True).start()
    threading.Timer(LIFETIME_SECONDS, lambda: os._exit(0)).start()
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
