#!/usr/bin/python3
"""Checks one Secure Boot run: that EDK2 enforced Secure Boot and started the
signed loader, that its verdict on each test image is the one EDK2's rules
give, and, given the project's judge, that the judge agrees with EDK2 against
the db and dbx the firmware itself held.

    check_verdicts.py <serial log> <disk's entry description> <images folder> <images.tsv> <work folder> <judge | --without-judge>

Prints PASS, FAIL or SKIP lines; exits 1 on any FAIL.
"""
import os
import subprocess
import sys

import serial_log
from serial_log import EFI_ACCESS_DENIED, EFI_SECURITY_VIOLATION, EFI_SUCCESS

SNAKEOIL_CERTIFICATE = "/usr/share/ovmf/PkKek-1-snakeoil.pem"


class Results:
    def __init__(self):
        self.failed = False

    def check(self, passed, what):
        print(("PASS " if passed else "FAIL ") + what)
        self.failed |= not passed
        return passed


def edk2_verdict(status):
    if status == EFI_SUCCESS:
        return "allowed"
    if status in (EFI_ACCESS_DENIED, EFI_SECURITY_VIOLATION):
        return "refused"
    return None  # the loader could not ask: not a verdict


def snakeoil_der():
    return subprocess.run(["openssl", "x509", "-in", SNAKEOIL_CERTIFICATE, "-outform", "DER"],
                          check=True, capture_output=True).stdout


def check_firmware(log, disk_description, results):
    """The run counts only if the signed loader ran under enforced Secure Boot."""
    started = [event.option for event in log.boot_events(disk_description) if event.action == "starting"]
    results.check(log.loader_boot_current() in started and len(started) == 1,
                  f'firmware: BdsDxe started the snakeoil-signed loader through "{disk_description}" '
                  f"(started: {started or 'none'}, loader's BootCurrent: {log.loader_boot_current()})")
    results.check(log.byte_variable("SecureBoot") == 1 and log.byte_variable("SetupMode") == 0,
                  f"firmware: Secure Boot enforced (SecureBoot={log.byte_variable('SecureBoot')}, "
                  f"SetupMode={log.byte_variable('SetupMode')})")
    db = log.variable("db")
    results.check(db is not None and snakeoil_der() in db, "firmware: db holds Debian's snakeoil certificate")
    return db, log.variable("dbx")


def run_judge(judge, image, databases):
    answer = subprocess.run([judge, image, *databases], capture_output=True, text=True)
    line = answer.stdout.strip()
    if answer.returncode != 0 or not (line == "allowed" or line.startswith("refused: ")):
        return None, f"exit {answer.returncode}, printed {line!r} {answer.stderr.strip()!r}"
    return line.split(":")[0], line


def main(log_path, disk_description, images, table, work, judge):
    results = Results()
    log = serial_log.SerialLog.read(log_path)
    db, dbx = check_firmware(log, disk_description, results)
    os.makedirs(work, exist_ok=True)
    databases = []
    for name, data in (("db", db), ("dbx", dbx)):
        if data is not None:
            with open(os.path.join(work, name + ".esl"), "wb") as out:
                out.write(data)
            databases.append(os.path.join(work, name + ".esl"))
    verdicts = log.verdicts()
    with open(table, encoding="utf-8") as rows:
        expected = [line.rstrip("\n").split("\t") for line in rows if line.strip()]
    results.check(log.images_done() == len(expected) and len(verdicts) == len(expected),
                  f"loader: tried {len(verdicts)} of {len(expected)} images")
    for name, rule_verdict, why in expected:
        status, text = verdicts.get(name, (None, "no answer"))
        edk2 = edk2_verdict(status)
        results.check(edk2 == rule_verdict, f"EDK2 {name}: {text} ({why}: {rule_verdict} by EDK2's rules)")
        if judge is None:
            print(f"SKIP judge {name}: no judge given")
            continue
        ours, said = run_judge(judge, os.path.join(images, name), databases)
        results.check(edk2 is not None and ours == edk2, f"judge {name}: {said}; EDK2: {text}")
    return 1 if results.failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    *arguments, judge = sys.argv[1:]
    sys.exit(main(*arguments, None if judge == "--without-judge" else judge))
