"""Reads what OVMF's console copied to the serial port: BdsDxe's lines about
the boot entries it loads and starts (OvmfPkg/Library/PlatformBmPrintScLib)
and the lines of tests/firmware/loader."""
import re
from dataclasses import dataclass

# The terminal driver's cursor and colour sequences, which may sit anywhere.
ESCAPE = re.compile(r"\x1b\[[0-9;=?]*[A-Za-z]")
BDS_EVENT = re.compile(r'BdsDxe: (loading|starting) (Boot[0-9A-F]{4}) "(.*)" from (.*)$')
BDS_FAILURE = re.compile(r'BdsDxe: failed to (load|start) (Boot[0-9A-F]{4}) "(.*)" from (.*): (.*)$')
VERDICT = re.compile(r"orvanta-verdict: (\S+) 0x([0-9A-Fa-f]+) (.*)$")

EFI_SUCCESS = 0
EFI_ACCESS_DENIED = 0x8000000000000000 | 15
EFI_SECURITY_VIOLATION = 0x8000000000000000 | 26


class Malformed(Exception):
    pass


@dataclass
class BootEvent:
    action: str  # loading, starting, failed to load, failed to start
    option: str  # Boot####
    description: str
    path: str
    status: str = ""


class SerialLog:
    def __init__(self, text):
        self.lines = [ESCAPE.sub("", line).strip() for line in text.replace("\r", "\n").split("\n")]

    @classmethod
    def read(cls, path):
        with open(path, encoding="utf-8", errors="replace") as log:
            return cls(log.read())

    def boot_events(self, description):
        """BdsDxe's events for the entries named <description>, in order."""
        events = []
        for line in self.lines:
            if match := BDS_EVENT.search(line):
                events.append(BootEvent(match[1], match[2], match[3], match[4]))
            elif match := BDS_FAILURE.search(line):
                events.append(BootEvent("failed to " + match[1], match[2], match[3], match[4], match[5]))
        return [event for event in events if event.description.strip() == description]

    def _after(self, prefix):
        return [line[len(prefix):] for line in self.lines if line.startswith(prefix)]

    def loader_boot_current(self):
        """The Boot#### that started the loader, None if it never ran."""
        for rest in self._after("orvanta-loader: started BootCurrent="):
            return None if rest == "none" else "Boot" + rest
        return None

    def images_done(self):
        for rest in self._after("orvanta-loader: done "):
            return int(rest.split()[0])
        return None

    def byte_variable(self, name):
        for rest in self._after(f"orvanta-var: {name} "):
            return None if rest == "absent" else int(rest)
        return None

    def variable(self, name):
        """A variable the loader printed as hex; None if it was absent."""
        announced = self._after(f"orvanta-var: {name} ")
        if not announced or announced[0] == "absent":
            return None
        size = re.fullmatch(r"(\d+) bytes", announced[0])
        if not size:
            raise Malformed(f"{name}: {announced[0]}")
        data = bytes.fromhex("".join(self._after(f"orvanta-hex: {name} ")))
        if len(data) != int(size[1]):
            raise Malformed(f"{name}: {len(data)} bytes printed of {size[1]}")
        return data

    def verdicts(self):
        """{file name: (EFI_STATUS, its text)} for every image the loader tried."""
        found = {}
        for line in self.lines:
            if match := VERDICT.match(line):
                if match[1] in found:
                    raise Malformed(f"{match[1]} judged twice")
                found[match[1]] = (int(match[2], 16), match[3])
        return found
