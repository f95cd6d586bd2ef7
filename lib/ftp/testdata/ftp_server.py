#!/usr/bin/env python3
"""A real FTP server for the transfer tests and benchmarks: pyftpdlib on 127.0.0.1.

  ftp_server.py ROOT USER PASSWORD [--log FILE] [--stall-retr SECONDS]
                [--rate BYTES_PER_SECOND] [--short-retr BYTES] [--lifetime SECONDS]
                [--tls CERT_AND_KEY_PEM] [--endless-retr NAME] [--drip-retr NAME]
                [--size BYTES] [--no-size]

Prints the port it listens on (one line), then serves until it is killed or its
lifetime ends. --log appends every command's name to FILE; --stall-retr makes the
server go silent that long when a download starts; --rate slows downloads;
--short-retr sends only the first BYTES of a larger file and reports the transfer
complete (SIZE still tells the whole size); --tls
requires explicit TLS (AUTH TLS) on control and data connections. The hostile ones:
--endless-retr sends zeros after file NAME's bytes without end; --drip-retr sends
NAME one byte every half second; --size answers every SIZE with BYTES; --no-size
answers every SIZE with an error.
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
parser.add_argument("--endless-retr")
parser.add_argument("--drip-retr")
parser.add_argument("--size", type=int, default=-1)
parser.add_argument("--no-size", action="store_true")
args = parser.parse_args()


handler_base = TLS_FTPHandler if args.tls else FTPHandler


class ShortReadFS(AbstractedFS):
    def open(self, filename, mode):
        f = super().open(filename, mode)
        if "r" not in mode or not args.short_retr or self.getsize(filename) <= args.short_retr:
            return f
        cut = io.BytesIO(f.read(args.short_retr))
        cut.name = f.name
        f.close()
        return cut


class Endless:
    """The file's bytes, then zeros for ever."""

    def __init__(self, f):
        self.f, self.name, self.closed = f, f.name, False

    def read(self, n=65536):
        return self.f.read(n) or b"\0" * n

    def close(self):
        self.f.close()
        self.closed = True


class Drip(Endless):
    """The file's bytes, one every half second (the whole server waits meanwhile)."""

    def read(self, n=65536):
        time.sleep(0.5)
        return self.f.read(1)


class HostileFS(ShortReadFS):
    def open(self, filename, mode):
        f = super().open(filename, mode)
        base = filename.rsplit("/", 1)[-1]
        if "r" in mode and base == args.endless_retr:
            return Endless(f)
        if "r" in mode and base == args.drip_retr:
            return Drip(f)
        return f


class Handler(handler_base):
    def ftp_SIZE(self, path):
        if args.no_size:
            self.respond("502 Command not implemented.")
        elif args.size >= 0:
            self.respond("213 %d" % args.size)
        else:
            super().ftp_SIZE(path)

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
if args.short_retr or args.endless_retr or args.drip_retr:
    Handler.abstracted_fs = HostileFS
    Handler.use_sendfile = False  # what is sent is made up here
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
