#!/usr/bin/env python3
"""The layer rule: which folder's code may include which.

platform/ knows only itself; discovery/ and repair/ build on platform/;
app/ turns their values into controls and message boxes; win32/ implements
it all. The core (every folder but win32/ and resources/) includes nothing
but the C++ standard library from outside the project: no Windows header.

    check_layers.py <source root>    prints each breach, exits 1 if any
    check_layers.py --self-test      shows that a forbidden include is caught
"""
import pathlib
import re
import shutil
import sys
import tempfile

MAY_INCLUDE = {
    "platform": {"platform"},
    "discovery": {"platform", "discovery"},
    "repair": {"platform", "discovery", "repair"},
    "app": {"platform", "discovery", "repair", "app"},
}

STANDARD_HEADERS = set("""
algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes climits
cmath compare concepts cstddef cstdint cstdio cstdlib cstring ctime cwchar cwctype deque exception
filesystem format forward_list fstream functional initializer_list iomanip ios iosfwd iostream
istream iterator limits list locale map memory mutex new numbers numeric optional ostream queue
random ranges ratio regex set source_location span sstream stack stdexcept streambuf string
string_view system_error thread tuple type_traits typeinfo unordered_map unordered_set utility
variant vector version
""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def breaches(root):
    found = []
    for layer, allowed in MAY_INCLUDE.items():
        for path in sorted((root / layer).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, name = match.groups()
                where = f"{path.relative_to(root)}:{number}"
                if kind == "<" and name not in STANDARD_HEADERS:
                    found.append(f"{where}: <{name}> is not a standard C++ header")
                elif kind == '"' and name.split("/")[0] not in allowed:
                    found.append(f"{where}: {layer}/ may not include \"{name}\"")
    return found


def self_test(root):
    """Copies the core, adds one forbidden include of each kind, expects each caught."""
    forbidden = [("repair", '#include "app/window/MainControls.h"'),
                 ("platform", '#include "win32/base/Utf.h"'),
                 ("discovery", "#include <windows.h>")]
    for layer, line in forbidden:
        with tempfile.TemporaryDirectory() as scratch:
            copy = pathlib.Path(scratch)
            for folder in MAY_INCLUDE:
                shutil.copytree(root / folder, copy / folder)
            target = sorted((copy / layer).glob("*.h"))[0]
            target.write_text(line + "\n" + target.read_text(encoding="utf-8"), encoding="utf-8")
            if not breaches(copy):
                print(f"self-test: {line} in {layer}/{target.name} was not caught")
                return 1
    return 0


def main():
    here = pathlib.Path(__file__).resolve().parents[2]
    if sys.argv[1:] == ["--self-test"]:
        return self_test(here)
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here
    found = breaches(root)
    for breach in found:
        print(breach)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
