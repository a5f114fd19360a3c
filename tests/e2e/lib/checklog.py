#!/usr/bin/env python3
"""Checks the repair log of a scenario: a UTF-8 file with a byte-order mark
and CRLF line ends, holding the expected lines in order (each a shell-style
pattern; other lines may stand between them).
    checklog.py <log file> <expected lines>
Prints what is wrong; prints nothing when the log is as expected."""
import fnmatch
import sys


def main(log_path, expected_path):
    data = open(log_path, "rb").read()
    if not data.startswith(b"\xef\xbb\xbf"):
        print("  the log has no UTF-8 byte-order mark")
    if data.count(b"\n") != data.count(b"\r\n"):
        print("  the log has line ends other than CRLF")
    lines = data[3:].decode("utf-8", errors="replace").split("\r\n")
    expected = [line.rstrip("\n") for line in open(expected_path, encoding="utf-8") if line.strip()]
    at = 0
    for pattern in expected:
        while at < len(lines) and not fnmatch.fnmatchcase(lines[at], pattern):
            at += 1
        if at == len(lines):
            print(f"  the log lacks, in its place: {pattern}")
            print("    the log:\n" + "\n".join("      " + line for line in lines))
            return
        at += 1


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
