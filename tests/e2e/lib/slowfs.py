#!/usr/bin/python3
"""A drive that stops answering one program: a read-only FUSE file system that
passes through to a folder, except that the volume queries (statfs) and directory
listings (readdir) of the program named block until the test releases them.

    slowfs.py <backing folder> <mount point> <control folder> <program>

Only that program's own calls block, the root's included; every other
process gets its answers at once. Wine's single-threaded server opens files
and asks their file system on the programs' behalf: had one of its calls
blocked, every Wine process would freeze, which would test Wine rather than
the program. A program's own statfs and readdir are made by the thread that
asked (Wine's ntdll asks the file system of an open handle itself), so only
that thread waits.

In the control folder (which must lie outside the mount):
  ready     written once the kernel has sent its first request
  events    one line per event, in order: "blocked <op> <path> <program>",
            "released", then "answered <op> <path>" for each call let go
  trace     every call with its caller
  hold      made at the start; renaming it to "go" (or making "go")
            releases every blocked call, and no call blocks afterwards
Needs Debian's python3-fusepy (module fusepy) and libfuse2; run as root.
"""
import ctypes
import errno
import os
import struct
import sys
import threading

import fusepy

IN_CREATE = 0x100
IN_MOVED_TO = 0x80


def wait_for_name(folder, name):
    """Sleeps until a file of that name is made or moved into the folder."""
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init()
    if watch < 0 or libc.inotify_add_watch(watch, folder.encode(), IN_CREATE | IN_MOVED_TO) < 0:
        raise OSError(ctypes.get_errno(), "inotify")
    if os.path.exists(os.path.join(folder, name)):
        return
    while True:
        events = os.read(watch, 4096)
        at = 0
        while at < len(events):
            _, _, _, length = struct.unpack_from("iIII", events, at)
            found = events[at + 16:at + 16 + length].rstrip(b"\0").decode()
            if found == name:
                return
            at += 16 + length


def caller_name(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            return os.path.basename(cmdline.read().split(b"\0")[0].decode(errors="replace").replace("\\", "/"))
    except OSError:
        return "?"


class SlowDrive(fusepy.Operations):
    def __init__(self, backing, control, program):
        self.backing = os.path.realpath(backing)
        self.control = control
        self.program = program.lower()
        self.released = threading.Event()
        self.lock = threading.Lock()
        threading.Thread(target=self.wait_for_release, daemon=True).start()

    # --- the control folder -------------------------------------------------

    def note(self, name, line):
        with self.lock, open(os.path.join(self.control, name), "a") as log:
            log.write(line + "\n")

    def wait_for_release(self):
        wait_for_name(self.control, "go")
        self.note("events", "released")
        self.released.set()

    def held(self, op, path):
        _, _, pid = fusepy.fuse_get_context()
        caller = caller_name(pid)
        self.note("trace", f"{op} {path} {caller}")
        if caller.lower() != self.program or self.released.is_set():
            return
        self.note("events", f"blocked {op} {path} {caller}")
        self.released.wait()
        self.note("events", f"answered {op} {path}")

    # --- the file system ----------------------------------------------------

    def init(self, path):
        # The kernel's first request: the mount is in place and served.
        self.note("ready", "ready")

    def real(self, path):
        return self.backing + path

    def __call__(self, op, path, *args):
        if op not in ("statfs", "readdir"):
            _, _, pid = fusepy.fuse_get_context()
            self.note("trace", f"{op} {path} {caller_name(pid)}")
        return super().__call__(op, path, *args)

    def access(self, path, mode):
        if not os.access(self.real(path), mode):
            raise fusepy.FuseOSError(errno.EACCES)

    def getattr(self, path, fh=None):
        st = os.lstat(self.real(path))
        return {key: getattr(st, key) for key in (
            "st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size", "st_uid")}

    def readdir(self, path, fh):
        self.held("readdir", path)
        return [".", ".."] + os.listdir(self.real(path))

    def statfs(self, path):
        self.held("statfs", path)
        stv = os.statvfs(self.real(path))
        return {key: getattr(stv, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files", "f_flag",
            "f_frsize", "f_namemax")}

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise fusepy.FuseOSError(errno.EROFS)
        return os.open(self.real(path), flags)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)

    def getxattr(self, path, name, position=0):
        try:
            return os.getxattr(self.real(path), name)
        except OSError as error:
            raise fusepy.FuseOSError(error.errno or errno.ENODATA)

    def listxattr(self, path):
        return os.listxattr(self.real(path))


def main():
    backing, mount, control, program = sys.argv[1:5]
    open(os.path.join(control, "hold"), "w").close()
    # Threads: a blocked call must not hold up the calls of other threads.
    fusepy.FUSE(SlowDrive(backing, control, program), mount, foreground=True, nothreads=False, allow_other=True,
                default_permissions=False, use_ino=False)


if __name__ == "__main__":
    main()
