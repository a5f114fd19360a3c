#!/usr/bin/python3
"""Checks the written-entry run: the shell's startup.nsh wrote the entry, and
after the reset EDK2 loaded and started the file through it, named as written,
and held the very bytes written.

    check_written_entry.py <serial log> <Boot####> <description> <expected path text> <entry bytes as hex>

Prints PASS or FAIL lines; exits 1 on any FAIL.
"""
import sys

import serial_log


def main(log_path, option, description, path_text, entry_hex):
    log = serial_log.SerialLog.read(log_path)
    checks = []
    written = [line for line in log.lines if line.startswith("orvanta-entry: ")]
    checks.append((written == [f"orvanta-entry: wrote {option}"],
                   f"startup.nsh: {'; '.join(written) or 'never ran'}"))
    events = [(event.action, event.option) for event in log.boot_events(description)]
    checks.append((events == [("loading", option), ("starting", option)],
                   f'BdsDxe: {events or "nothing"} for "{description}", expected loading and starting {option}'))
    paths = {event.path for event in log.boot_events(description)}
    checks.append((paths == {path_text}, f"BdsDxe's reading of the device path: {sorted(paths)}"))
    checks.append((log.loader_boot_current() == option,
                   f"the file started, as {log.loader_boot_current()}"))
    held = log.variable(option)
    checks.append((held == bytes.fromhex(entry_hex),
                   f"{option} as the firmware holds it: {held.hex().upper() if held else 'absent'}"))
    for passed, what in checks:
        print(("PASS " if passed else "FAIL ") + "written entry: " + what)
    return 0 if all(passed for passed, _ in checks) else 1


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
