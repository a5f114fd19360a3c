#!/usr/bin/env python3
"""Checks the resources of one Orvanta executable: the icon group and its images,
the visual-styles manifest and the version block. Prints one PASS or FAIL line per
check and exits with 1 when any check fails.

usage: check_resources.py <Orvanta.exe> [x86|x64]
"""

import sys
import xml.etree.ElementTree as ElementTree

from icon_images import IconDib, IconError, parse_group
from pe_resources import (MACHINE_AMD64, MACHINE_I386, RT_GROUP_ICON, RT_ICON, RT_MANIFEST,
                          RT_VERSION, PeError, PeFile, find)
from version_block import VersionError, parse_version_block

CHINESE_SIMPLIFIED = 2052
DISC = (207, 18, 62)
WHITE = (255, 255, 255)
EXPECTED_IMAGES = [(30001, 32, 24), (30002, 16, 32), (30003, 32, 32), (30004, 48, 32)]
ASM_NAMESPACE = "{urn:schemas-microsoft-com:asm.v1}"
COMMON_CONTROLS_TOKEN = "6595b64144ccf1df"
FORBIDDEN_MANIFEST_ELEMENTS = {
    "trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel",
    "application", "windowsSettings", "dpiAware", "dpiAwareness",
    "compatibility", "supportedOS", "maxversiontested", "file", "msix",
}
EXACT_VERSION_STRINGS = {
    "ProductName": "Orvanta", "FileVersion": "1.00", "ProductVersion": "1.00",
    "InternalName": "Orvanta", "OriginalFilename": "Orvanta.exe",
}
VOS__WINDOWS32 = 0x4
VFT_APP = 0x1


class Report:
    def __init__(self, label):
        self.label = label
        self.failures = 0

    def check(self, name, problems):
        """problems: a list of texts; empty means the check passed."""
        if problems:
            self.failures += 1
            print("FAIL %s: %s: %s" % (self.label, name, "; ".join(problems)))
        else:
            print("PASS %s: %s" % (self.label, name))


# --- icon -------------------------------------------------------------------

def single(resources, kind, name, what):
    matches = find(resources, kind, name)
    if len(matches) != 1:
        raise LookupError("%s: %d resources found, expected 1" % (what, len(matches)))
    return matches[0]


def image_problems(image_id, dib, bits):
    problems = []
    size = dib.size
    centre = size // 2
    disc_point = int(centre - 0.3 * size)  # on the disc's diagonal, off the plus sign

    def expect(x, y, colour, opaque, what):
        red, green, blue, alpha, mask = dib.pixel(x, y)
        if opaque and ((red, green, blue) != colour or alpha != 255 or mask != 0):
            problems.append("%s pixel (%d,%d) is rgba(%d,%d,%d,%d) mask %d, expected opaque %s"
                            % (what, x, y, red, green, blue, alpha, mask, colour))
        if not opaque and (alpha != 0 or mask != 1 or (red, green, blue) != (0, 0, 0)):
            problems.append("%s pixel (%d,%d) is rgba(%d,%d,%d,%d) mask %d, expected transparent"
                            % (what, x, y, red, green, blue, alpha, mask))

    for corner in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
        expect(corner[0], corner[1], (0, 0, 0), False, "corner")
    expect(centre, centre, WHITE, True, "centre (plus sign)")
    expect(disc_point, disc_point, DISC, True, "disc")
    expect(size - 1 - disc_point, size - 1 - disc_point, DISC, True, "disc")

    partial = 0
    for x, y, (red, green, blue, alpha, mask) in dib.pixels():
        if (alpha == 0) != (mask == 1):
            problems.append("pixel (%d,%d): alpha %d but mask %d" % (x, y, alpha, mask))
            break
        if 0 < alpha < 255:
            partial += 1
        mirror = dib.pixel(size - 1 - x, y)
        if mirror != (red, green, blue, alpha, mask):
            problems.append("picture not symmetric at (%d,%d)" % (x, y))
            break
    if bits == 32 and partial == 0:
        problems.append("no semi-transparent pixel: the disc edge is not anti-aliased")
    return ["image %d: %s" % (image_id, p) for p in problems]


def check_icon(report, resources):
    try:
        group = single(resources, RT_GROUP_ICON, 1, "icon group 1")
        entries = parse_group(group["data"])
    except (LookupError, IconError) as error:
        report.check("icon group 1", [str(error)])
        return
    problems = []
    described = [(e["id"], e["width"], e["bits"]) for e in entries]
    if described != EXPECTED_IMAGES:
        problems.append("images (id, size, bits) %s, expected %s" % (described, EXPECTED_IMAGES))
    for entry in entries:
        if entry["width"] != entry["height"] or entry["planes"] != 1 or entry["colours"] != 0:
            problems.append("entry %d: %dx%d planes %d colours %d" % (
                entry["id"], entry["width"], entry["height"], entry["planes"], entry["colours"]))
    groups = find(resources, RT_GROUP_ICON)
    if len(groups) != 1:
        problems.append("%d icon groups, expected 1" % len(groups))
    report.check("icon group 1 lists images 30001-30004 (32x32x24, 16x16x32, 32x32x32, 48x48x32)",
                 problems)

    for entry in entries:
        problems = []
        try:
            image = single(resources, RT_ICON, entry["id"], "icon image %d" % entry["id"])
            dib = IconDib(image["data"])
            if len(image["data"]) != entry["size"]:
                problems.append("group says %d bytes, image has %d" % (entry["size"],
                                                                       len(image["data"])))
            if (dib.size, dib.bits) != (entry["width"], entry["bits"]):
                problems.append("image is %dx%d at %d bits, group says %dx%d at %d bits" % (
                    dib.size, dib.size, dib.bits, entry["width"], entry["height"], entry["bits"]))
            problems += image_problems(entry["id"], dib, entry["bits"])
        except (LookupError, IconError) as error:
            problems.append(str(error))
        report.check("icon image %d: %dx%d, %d bits, red disc with white plus on transparent"
                     % (entry["id"], entry["width"], entry["height"], entry["bits"]), problems)


# --- manifest ---------------------------------------------------------------

def local_name(tag):
    return tag.split("}", 1)[-1]


def manifest_problems(text, architecture):
    problems = []
    root = ElementTree.fromstring(text)
    if root.tag != ASM_NAMESPACE + "assembly" or root.get("manifestVersion") != "1.0":
        problems.append("root is %s manifestVersion %s" % (root.tag, root.get("manifestVersion")))
    forbidden = sorted({local_name(e.tag) for e in root.iter()} & FORBIDDEN_MANIFEST_ELEMENTS)
    if forbidden:
        problems.append("forbidden elements: %s" % ", ".join(forbidden))
    children = [local_name(child.tag) for child in root]
    if sorted(children) != ["assemblyIdentity", "dependency", "description"]:
        problems.append("top-level elements %s, expected assemblyIdentity, description, "
                        "dependency once each" % children)
    identity = root.find(ASM_NAMESPACE + "assemblyIdentity")
    if identity is not None:
        expected = {"version": "1.0.0.0", "processorArchitecture": architecture, "type": "win32"}
        for key, value in expected.items():
            if identity.get(key) != value:
                problems.append("assemblyIdentity %s=%r, expected %r"
                                % (key, identity.get(key), value))
        if not identity.get("name"):
            problems.append("assemblyIdentity has no name")
    description = root.find(ASM_NAMESPACE + "description")
    if description is not None and (not (description.text or "").strip()
                                     or "\n" in description.text.strip()):
        problems.append("description is not one line of text")
    problems += dependency_problems(root, architecture)
    return problems


def dependency_problems(root, architecture):
    path = "%sdependency/%sdependentAssembly/%sassemblyIdentity" % ((ASM_NAMESPACE,) * 3)
    identities = root.findall(path)
    if len(identities) != 1:
        return ["%d dependent assemblies, expected 1" % len(identities)]
    expected = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                "version": "6.0.0.0", "processorArchitecture": architecture,
                "publicKeyToken": COMMON_CONTROLS_TOKEN, "language": "*"}
    return ["dependency %s=%r, expected %r" % (key, identities[0].get(key), value)
            for key, value in expected.items() if identities[0].get(key) != value]


def check_manifest(report, resources, architecture):
    manifests = find(resources, RT_MANIFEST)
    problems = []
    if [(m["name"], m["language"]) for m in manifests] != [(1, CHINESE_SIMPLIFIED)]:
        problems.append("manifests (name, language) %s, expected [(1, 2052)]"
                        % [(m["name"], m["language"]) for m in manifests])
    if manifests:
        try:
            text = manifests[0]["data"].decode("utf-8")
            problems += manifest_problems(text, architecture)
        except (UnicodeDecodeError, ElementTree.ParseError) as error:
            problems.append("not UTF-8 XML: %s" % error)
    report.check("manifest 1 (language 2052): Common Controls 6 for %s, nothing else"
                 % architecture, problems)


# --- version block ----------------------------------------------------------

def fixed_part_problems(fixed):
    expected = {"file_version": (1, 0, 0, 0), "product_version": (1, 0, 0, 0), "flags": 0,
                "os": VOS__WINDOWS32, "type": VFT_APP}
    return ["fixed %s=%r, expected %r" % (key, fixed[key], value)
            for key, value in expected.items() if fixed[key] != value]


def string_table_problems(tables):
    if list(tables) != ["080404B0"]:
        return ["string tables %s, expected only 080404B0" % list(tables)]
    pairs = tables["080404B0"]
    strings = dict(pairs)
    problems = []
    if len(strings) != len(pairs):
        problems.append("a key appears twice")
    expected_keys = set(EXACT_VERSION_STRINGS) | {"CompanyName", "FileDescription"}
    if set(strings) != expected_keys:
        problems.append("keys %s, expected %s" % (sorted(strings), sorted(expected_keys)))
    for key, value in EXACT_VERSION_STRINGS.items():
        if strings.get(key) != value:
            problems.append("%s=%r, expected %r" % (key, strings.get(key), value))
    company = strings.get("CompanyName", "")
    description = strings.get("FileDescription", "")
    if not company.strip():
        problems.append("CompanyName is empty")
    if not any("\u4e00" <= ch <= "\u9fff" for ch in description):
        problems.append("FileDescription %r holds no Chinese text" % description)
    if company and company not in description:
        problems.append("FileDescription %r does not name the maker %r" % (description, company))
    for key, value in strings.items():
        if "\ufffd" in value or "\0" in value:
            problems.append("%s=%r is not clean UTF-16 text" % (key, value))
    return problems


def check_version(report, resources):
    blocks = find(resources, RT_VERSION)
    problems = []
    if [(b["name"], b["language"]) for b in blocks] != [(1, CHINESE_SIMPLIFIED)]:
        problems.append("version blocks (name, language) %s, expected [(1, 2052)]"
                        % [(b["name"], b["language"]) for b in blocks])
    if blocks:
        try:
            fixed, tables, translations = parse_version_block(blocks[0]["data"])
            problems += fixed_part_problems(fixed)
            problems += string_table_problems(tables)
            if translations != [0x0804, 0x04B0]:
                problems.append("translation %s, expected [0x0804, 0x04B0]"
                                % [hex(t) for t in translations])
        except VersionError as error:
            problems.append("malformed: %s" % error)
    report.check("version block 1 (language 2052): 1.0.0.0, 32-bit Windows application, "
                 "080404B0 strings", problems)


MACHINES = {"x86": MACHINE_I386, "x64": MACHINE_AMD64}
MANIFEST_ARCHITECTURES = {MACHINE_I386: "X86", MACHINE_AMD64: "amd64"}


def main(argv):
    if len(argv) not in (2, 3) or (len(argv) == 3 and argv[2] not in MACHINES):
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    path = argv[1]
    report = Report(path)
    try:
        with open(path, "rb") as file:
            pe = PeFile(file.read())
        resources = pe.resources()
    except (OSError, PeError) as error:
        report.check("readable PE executable", [str(error)])
        return 1
    architecture = MANIFEST_ARCHITECTURES.get(pe.machine)
    if architecture is None or (len(argv) == 3 and pe.machine != MACHINES[argv[2]]):
        report.check("machine type", ["machine 0x%X is not %s" % (
            pe.machine, argv[2] if len(argv) == 3 else "x86 or x64")])
        return 1
    check_icon(report, resources)
    check_manifest(report, resources, architecture)
    check_version(report, resources)
    return 1 if report.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
