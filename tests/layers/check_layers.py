#!/usr/bin/env python3
"""The layer rule: which folder's code may include which.

platform/ knows only itself; discovery/ and repair/ build on platform/;
app/ turns their values into controls and message boxes; win32/ implements
it all. The core (every folder but win32/ and resources/) includes nothing
but the C++ standard library from outside the project: no Windows header.

Within a layer the subfolders stand on tiers: a file may include its own
subfolder and those of lower tiers, never one beside or above it. Every
source file lies in a subfolder, but for the few named in AT_THE_TOP, which
sit above all of their layer's subfolders.

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

# Each layer's subfolders, lowest tier first.
SUBFOLDER_TIERS = {
    "platform": [["text", "errors"], ["disks", "files", "system", "threads"], ["shell"]],
    "discovery": [["bytes"], ["disks", "signatures"], ["volumes", "bcd", "firmware"], ["survey"]],
    "repair": [["stores", "secureboot", "uefi", "partition"], ["tools"], ["backup"], ["restore", "run"]],
    "app": [["phrases"], ["texts"], ["restore", "session"], ["json"], ["commandline", "window"]],
    "win32": [["base"], ["text", "disks", "files", "system", "threads", "shell"], ["window"]],
}

# The files that stay directly in a layer folder: the bundles of every service
# and the program's entry point.
AT_THE_TOP = {"platform": {"Platform.h"}, "win32": {"Main.cpp", "Win32Platform.h"}}

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


def tier_of(layer, parts):
    """The tier of a file's subfolder (parts: its path below the layer); None when unknown.
    A file at the top stands above every subfolder."""
    if len(parts) == 1:
        return len(SUBFOLDER_TIERS[layer])
    for tier, subfolders in enumerate(SUBFOLDER_TIERS[layer]):
        if parts[0] in subfolders:
            return tier
    return None


def subfolder_breach(layer, parts, name):
    """Why a file at layer/parts may not include "name" of its own layer; None when it may."""
    target = name.split("/")[1:]
    if (len(parts) > 1) == (len(target) > 1) and (len(parts) == 1 or parts[0] == target[0]):
        return None  # the same subfolder, or both at the top
    mine, theirs = tier_of(layer, parts), tier_of(layer, target)
    if theirs is None:
        return f"{layer}/{target[0]}/ is no subfolder the layer rule knows"
    if mine is not None and theirs < mine:
        return None
    return f"{layer}/{'/'.join(parts[:-1]) or '(top)'}/ may not include \"{name}\""


def placement_breaches(root, layer):
    found = []
    for path in sorted((root / layer).iterdir()):
        if path.is_dir() and tier_of(layer, [path.name, ""]) is None:
            found.append(f"{layer}/{path.name}/: no subfolder the layer rule knows")
        elif path.suffix in (".h", ".cpp") and path.name not in AT_THE_TOP.get(layer, ()):
            found.append(f"{layer}/{path.name}: a source file outside the layer's subfolders")
    return found


def breaches(root):
    found = []
    for layer in SUBFOLDER_TIERS:
        found += placement_breaches(root, layer)
        allowed = MAY_INCLUDE.get(layer)
        for path in sorted((root / layer).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            parts = path.relative_to(root / layer).parts
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, name = match.groups()
                where = f"{path.relative_to(root)}:{number}"
                if allowed is not None and kind == "<" and name not in STANDARD_HEADERS:
                    found.append(f"{where}: <{name}> is not a standard C++ header")
                elif allowed is not None and kind == '"' and name.split("/")[0] not in allowed:
                    found.append(f"{where}: {layer}/ may not include \"{name}\"")
                elif kind == '"' and name.split("/")[0] == layer:
                    breach = subfolder_breach(layer, parts, name)
                    if breach:
                        found.append(f"{where}: {breach}")
    return found


# A forbidden line added to the first header of a folder, or (no line) a stray
# header put straight into it.
FORBIDDEN = [
    ("repair/run", '#include "app/window/MainControls.h"'),  # a layer above
    ("platform/text", '#include "win32/base/Utf.h"'),  # the Win32 layer
    ("discovery/bytes", "#include <windows.h>"),  # a Windows header
    ("discovery/bytes", '#include "discovery/survey/MachineSurvey.h"'),  # a higher tier
    ("discovery/disks", '#include "discovery/signatures/DerReader.h"'),  # the same tier
    ("app/texts", '#include "app/window/SizeToggle.h"'),
    ("win32/base", '#include "win32/window/Fonts.h"'),
    ("repair/stores", '#include "repair/elsewhere/Unknown.h"'),  # no such subfolder
    ("discovery", None),
    ("win32", None),
]


def self_test(root):
    """Copies the layers, breaks the rule in one place at a time, expects each caught."""
    if breaches(root):
        print("self-test: the tree itself breaks the rule")
        return 1
    for folder, line in FORBIDDEN:
        with tempfile.TemporaryDirectory() as scratch:
            copy = pathlib.Path(scratch)
            for layer in SUBFOLDER_TIERS:
                shutil.copytree(root / layer, copy / layer)
            if line is None:
                target = copy / folder / "Stray.h"
                target.write_text("#pragma once\n", encoding="utf-8")
            else:
                target = sorted((copy / folder).glob("*.h"))[0]
                target.write_text(line + "\n" + target.read_text(encoding="utf-8"), encoding="utf-8")
            if not breaches(copy):
                print(f"self-test: {line or 'a stray header'} in {target.relative_to(copy)} was not caught")
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
