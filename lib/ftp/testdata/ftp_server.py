#!/usr/bin/env python3
"""A real FTP server for the transfer tests and benchmarks: pyftpdlib on 127.0.0.1.

  ftp_server.py ROOT USER PASSWORD [--log FILE] [--stall-retr SECONDS]
                [--rate BYTES_PER_SECOND] [--short-retr BYTES] [--lifetime SECONDS]
                [--tls CERT_AND_KEY_PEM]

Prints the port it listens on (one line), then serves until it is killed or its
lifetime ends. --log appends every command's name to FILE; --stall-retr makes the
server go silent that long when a download starts; --rate slows downloads;
--short-retr sends only the first BYTES of a larger file and reports the transfer
complete (SIZE still tells the whole size); --tls
requires explicit TLS (AUTH TLS) on control and data connections.
"""
import argparse
import io
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler

try:
    from pyftpdlib.handlers import TLS_FTPHandler
except ImportError:  # without pyOpenSSL
    TLS_FTPHandler = None
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("root")
parser.add_argument("user")
parser.add_argument("password")
parser.add_argument("--log")
parser.add_argument("--stall-retr", type=float, default=0)
parser.add_argument("--rate", type=int, default=0)
parser.add_argument("--short-retr", type=int, default=0)
parser.add_argument("--lifetime", type=float, default=120)
parser.add_argument("--tls")
args = parser.parse_args()


handler_base = TLS_FTPHandler if args.tls else FTPHandler


class ShortReadFS(AbstractedFS):
    def open(self, filename, mode):
        f = super().open(filename, mode)
        if "r" not in mode or self.getsize(filename) <= args.short_retr:
            return f
        cut = io.BytesIO(f.read(args.short_retr))
        cut.name = f.name
        f.close()
        return cut


class Handler(handler_base):
    def pre_process_command(self, line, cmd, arg):
        if args.log:
            with open(args.log, "a") as f:
                f.write(cmd + "\n")
        if cmd == "RETR" and args.stall_retr:
            time.sleep(args.stall_retr)  # the whole server goes silent
        return super().pre_process_command(line, cmd, arg)


authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
Handler.authorizer = authorizer
if args.short_retr:
    Handler.abstracted_fs = ShortReadFS
    Handler.use_sendfile = False  # the cut copy lives in memory
Handler.permit_foreign_addresses = False
Handler.auth_failed_timeout = 0.1  # a wrong password answers at once
if args.tls:
    Handler.certfile = args.tls
    Handler.tls_control_required = True
    Handler.tls_data_required = True
if args.rate:
    ThrottledDTPHandler.read_limit = args.rate
    ThrottledDTPHandler.write_limit = args.rate
    Handler.dtp_handler = ThrottledDTPHandler

import logging
logging.basicConfig(level=logging.ERROR)
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.address[1], flush=True)
deadline = time.monotonic() + args.lifetime
while time.monotonic() < deadline:
    server.serve_forever(timeout=0.2, blocking=False, handle_exit=False)
server.close_all()
