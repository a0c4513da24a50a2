#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A FUSE file system for tests, mounted at MOUNTPOINT in the foreground: its one file, "stuck",
# answers no read, as a hung network share would. Each read that arrives creates MARKER first, so
# a test knows that a reader is blocked. A read ends only when the kernel interrupts it, as it does
# for a reader that is killed; without that the reader's process could never end.
# Usage: blocking_fs.py MOUNTPOINT MARKER
import errno
import stat
import sys
import time

import fusepy as fuse


class Blocking(fuse.Operations):
    def __init__(self, marker):
        self.marker = marker

    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2}
        if path == "/stuck":
            return {"st_mode": stat.S_IFREG | 0o644, "st_nlink": 1, "st_size": 4}
        raise fuse.FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", "..", "stuck"]

    def open(self, path, flags):
        return 0

    def read(self, path, size, offset, fh):
        open(self.marker, "w").close()
        while not fuse._libfuse.fuse_interrupted():
            time.sleep(0.01)
        raise fuse.FuseOSError(errno.EINTR)


if __name__ == "__main__":
    fuse.FUSE(Blocking(sys.argv[2]), sys.argv[1], foreground=True, direct_io=True, intr=True)
