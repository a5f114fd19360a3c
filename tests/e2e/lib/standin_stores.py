#!/usr/bin/python3
"""Prepares the BCD stores the stand-in bcdboot leaves, from a scenario's
expected tool runs: for each bcdboot run, the store the real tool would leave
at that point (a loader for every installation run so far for that store, the
one of this run the default), written as a hive with make_bcd.py (hivex),
and a rule that makes the stand-in copy it for that command line.
    standin_stores.py <expected runs> <hive folder (host)> <hive folder (Windows)> <rules file>
A run of bootsect ends a repair: the next repair starts with empty stores, as
the program moves the old ones aside first."""
import os
import re
import subprocess
import sys

RUN = re.compile(r'^(?:"[^"]*"|\S+) (\S+) /s (\S+) /f (bios|uefi) /l zh-cn$')
MAKE_BCD = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "make_bcd.py")


def main(runs_path, host_folder, windows_folder, rules_path):
    written, batch, rules = {}, [], []
    for line in open(runs_path, encoding="utf-8").read().splitlines():
        if "bootsect" in line.lower():
            written = {}
            continue
        match = RUN.match(line)
        if not match:
            continue
        installation, partition, firmware = match.groups()
        loaders = written.setdefault((partition.upper(), firmware), [])
        if installation in loaders:
            loaders.remove(installation)
        loaders.append(installation)
        name = "%02d.hiv" % (len(batch) + 1)
        options = ["--firmware", firmware, "--mark", "new"]
        for loader in loaders:
            options += ["--loader", loader]
        batch.append("\t".join([os.path.join(host_folder, name)] + options))
        rules.append("bcdboot hive %s\\%s %s /s %s /f %s" % (windows_folder, name, installation, partition, firmware))
    if not batch:
        return
    os.makedirs(host_folder, exist_ok=True)
    batch_path = os.path.join(host_folder, "batch.txt")
    with open(batch_path, "w", encoding="utf-8") as handle:
        handle.write("\n".join(batch) + "\n")
    subprocess.run(["/usr/bin/python3", MAKE_BCD, "--batch", batch_path], check=True)
    with open(rules_path, "w", encoding="utf-8") as handle:
        handle.write("\r\n".join(rules) + "\r\n")


if __name__ == "__main__":
    main(*sys.argv[1:])
