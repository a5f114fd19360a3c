#!/usr/bin/env python3
"""Moves the sources into the subfolders that show the architecture.

The record of the move from flat layer folders to subfolders by format and
concern. It holds the whole mapping, moves every file a layer folder still
holds directly with `git mv`, rewrites every include and every path that names
a moved file (sources, build lists, scripts, docs), and commits each top
folder on its own, so that `git log --follow` follows each file. Files already
in place or absent are skipped: run again on a later tree, it moves what that
tree added and changes nothing else. A file in a layer folder that the mapping
doesn't know stops it before anything moves.

    reorganize.py [--root DIR]            move and commit, one commit per folder
    reorganize.py [--root DIR] --dry-run  print what would move, change nothing
"""
import argparse
import pathlib
import re
import subprocess
import sys

# Top folder -> subfolder -> the units it holds (a unit: Name.h, Name.cpp or both).
MAPPING = {
    "discovery": {
        "bytes": ["LittleEndian", "Guid"],
        "disks": ["DiskRecords", "StorageRecords", "DeviceQueries", "MasterBootCode", "PartitionIdentity"],
        "volumes": ["BootSector", "InstallationScan", "VolumeEncryption", "DriveStrings", "DrivePlace",
                    "SystemPartition", "SystemPartitionLetter", "VirtualDiskFile"],
        "bcd": ["RegistryHive", "BcdStore", "BcdDevice"],
        "firmware": ["FirmwareMode", "LoadOption", "VariableNames", "SignatureList", "SecureBootDatabase",
                     "UefiBootState"],
        "signatures": ["DerReader", "Certificate", "CertificateName", "SignedData", "PeImage"],
        "survey": ["DiskScan", "DeviceSurveyor", "MachineSurvey"],
    },
    "repair": {
        "stores": ["StoreCheck", "StoreComparison", "StoreNames", "StoreEvents", "SystemStore"],
        "secureboot": ["SignatureCheck", "BootManagerTrust", "BootManagerFile"],
        "uefi": ["FirmwareBootEntry", "BootManagerLoadOption"],
        "partition": ["BootPartition", "BootFilesRoom", "FolderChooser"],
        "tools": ["CommandLines", "ToolRunner", "ToolOutput"],
        "backup": ["StoreBackup", "KeptCopies", "StorePlan"],
        "restore": ["CopyPath", "KeptCopyListing", "KeptStoreCheck", "StoreRestore", "RestoreReport"],
        "run": ["RepairPlan", "Preflight", "RepairRun", "RepairObserver", "RepairLock", "BootexChoice",
                "UefiStartCheck", "BootEntryOffer", "BootEntryWrite"],
    },
    "app": {
        "phrases": ["JoinedText", "StoreTexts", "DiskLines"],
        "texts": ["UserMessages", "LogLines", "BootFileTexts", "PreflightTexts", "RunRefusals",
                  "UnansweredTexts", "UefiMessages", "UefiLogLines", "BootEntryLines", "StoreStates",
                  "BootEntryTexts", "PlanTexts"],
        "restore": ["RestoreTexts", "KeptCopyLines"],
        "session": ["SessionLog", "PlatformServices", "ActiveRepair"],
        "json": ["JsonDocument", "JsonListing", "JsonMachine", "JsonStores", "JsonSummary", "JsonVerdicts",
                 "JsonRestore", "RunSummary", "SummaryFile"],
        "commandline": ["CommandLineMode", "CommandLineOptions", "CommandLineOutput", "RestoreCommand",
                        "ConsoleObserver"],
        "window": ["MainController", "MainControls", "WindowSurvey", "SizeToggle"],
    },
    "platform": {
        "": ["Platform"],
        "text": ["TextEncodings", "DisplayWidth", "CaseBlind", "ConsoleCodePage", "TextOutput"],
        "errors": ["PlatformError", "SystemErrors"],
        "disks": ["Devices", "Drives", "VirtualDisks"],
        "files": ["FileSystem", "FileIdentities", "Crypto"],
        "system": ["Registry", "RegistryTree", "RunningSystem", "VersionQuery", "WindowsVersion", "Elevation",
                   "NamedMutexes", "Firmware"],
        "threads": ["Processes", "Workers", "WorkerPool", "Clock"],
        "shell": ["MessageBoxes", "FolderDialog", "CommonControls", "TaskbarProgress", "ComObjects", "CallThunk",
                  "ShutdownBlock"],
    },
    "win32": {
        "": ["Main", "Win32Platform"],
        "base": ["Utf", "ScopedHandles", "RuntimeFunction", "ProgramPath", "DllSearchPath", "Win32Error"],
        "text": ["Win32ConsoleCodePage", "Win32ConsoleOutput", "Win32ConsoleControl"],
        "disks": ["Win32Devices", "Win32Drives", "Win32VirtualDisks"],
        "files": ["Win32FileSystem", "FileHolders", "Win32FileIdentities", "Win32Crypto", "PeImageLayout"],
        "system": ["Win32Registry", "Win32RunningSystem", "Win32Version", "Win32Elevation", "Win32NamedMutexes",
                   "Win32Firmware"],
        "threads": ["Win32Processes", "Win32Workers", "Win32Clock", "Win32EventPump"],
        "shell": ["Win32MessageBoxes", "Win32FolderDialog", "Win32CommonControls", "Win32Com",
                  "Win32ShutdownBlock"],
        "window": ["MainWindow", "MainLayout", "ControlFactory", "Fonts", "Twips", "AboutText", "Win32Controls",
                   "Win32WindowFrame", "SessionWindow", "ErrorBoundary"],
    },
    # The unit tests sit in the folder of what they test.
    "tests/unit": {
        "discovery/disks": ["DeviceQueriesTest", "MasterBootCodeTest"],
        "discovery/volumes": ["BootSectorTest", "InstallationScanTest", "SystemPartitionTest", "VirtualDiskTest"],
        "discovery/bcd": ["BcdStoreTest"],
        "discovery/firmware": ["FirmwareModeTest", "LoadOptionTest", "SignatureListTest", "UefiBootStateTest"],
        "discovery/signatures": ["CertificateTest", "SignedImageTest"],
        "discovery/survey": ["DiskScanTest", "UnansweredDevicesTest"],
        "repair/stores": ["StoreCheckTest", "HeldStoreTest"],
        "repair/secureboot": ["BootManagerTrustTest"],
        "repair/uefi": ["FirmwareBootEntryTest", "BootManagerLoadOptionTest"],
        "repair/partition": ["FolderChooserTest"],
        "repair/tools": ["ToolOutputTest", "ToolRunnerTest"],
        "repair/backup": ["KeptCopiesTest", "RunCutShortTest"],
        "repair/restore": ["RestoreTest"],
        "repair/run": ["RepairRunTest", "RepairSafetyTest", "PreflightTest", "InterruptedRunTest", "OneRepairTest",
                       "SecondBcdbootTest", "BootexChoiceTest", "UefiStartTest", "FirmwareEntryWriteTest"],
        "app/texts": ["UefiFileSystemTest"],
        "app/session": ["RepairLogTest", "SessionEndTest"],
        "app/json": ["JsonDocumentTest", "JsonSummaryTest"],
        "app/commandline": ["CommandLineTest", "ElevatedRestartTest", "PlanCommandTest"],
        "app/window": ["MainControllerTest", "SizeToggleTest"],
        "platform/shell": ["CallThunkTest", "TaskbarProgressTest"],
        "platform/threads": ["WorkerPoolTest"],
    },
}

SOURCE_SUFFIXES = (".h", ".cpp")
# Tracked files whose text may name a source path.
TEXT_SUFFIXES = (".h", ".cpp", ".py", ".sh", ".md", ".txt", ".cmake", ".json")
TEXT_NAMES = ("dev",)
# The win32 build list names its sources relative to its own folder.
WIN32_LIST = "win32/CMakeLists.txt"
UNIT_TEST_GLOB = ("file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/*.cpp)",
                  "file(GLOB_RECURSE UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/*.cpp)")
# The build lists, kept in name order (the core's in the top CMakeLists.txt, win32's).
SOURCE_LIST = re.compile(r"(add_library\(orvanta_(?:core STATIC|win32 OBJECT)\n)((?:  \S+\n)+)(\))")


def git(root, *arguments):
    return subprocess.run(["git", *arguments], cwd=root, check=True, capture_output=True,
                          text=True).stdout


def subfolder_of(folder):
    """unit -> subfolder ("" for a unit that stays at the top)."""
    places = {}
    for subfolder, units in MAPPING[folder].items():
        for unit in units:
            if unit in places:
                raise SystemExit(f"{folder}: {unit} is mapped twice")
            places[unit] = subfolder
    return places


def new_path(folder, subfolder, name):
    return "/".join(part for part in (folder, subfolder, name) if part)


def moves_of(root, folder):
    """(old path, new path) for each file directly in the folder; the unknown files."""
    places = subfolder_of(folder)
    moves, unknown = [], []
    for path in sorted((root / folder).iterdir()):
        if not path.is_file() or path.suffix not in SOURCE_SUFFIXES:
            continue
        if path.stem not in places:
            unknown.append(f"{folder}/{path.name}")
        elif places[path.stem]:
            moves.append((f"{folder}/{path.name}", new_path(folder, places[path.stem], path.name)))
    return moves, unknown


def renamer(folder):
    """Replaces folder/Unit (not inside a longer path or name) with its new path."""
    places = {unit: sub for unit, sub in subfolder_of(folder).items() if sub}
    if not places:
        return None
    units = "|".join(sorted(places, key=len, reverse=True))
    pattern = re.compile(rf"(?<![\w/.-]){re.escape(folder)}/({units})(?![\w])")
    return lambda text: pattern.sub(lambda m: new_path(folder, places[m.group(1)], m.group(1)), text)


def win32_list_renamer():
    places = {unit: sub for unit, sub in subfolder_of("win32").items() if sub}
    units = "|".join(sorted(places, key=len, reverse=True))
    pattern = re.compile(rf"(?<![\w/.-])({units})\.cpp\b")
    return lambda text: pattern.sub(lambda m: f"{places[m.group(1)]}/{m.group(1)}.cpp", text)


def sorted_source_lists(text):
    return SOURCE_LIST.sub(lambda m: m.group(1) + "".join(sorted(m.group(2).splitlines(True))) + m.group(3), text)


def text_files(root, skip):
    for name in git(root, "ls-files").splitlines():
        path = root / name
        if name == skip or not path.is_file():
            continue
        if path.suffix in TEXT_SUFFIXES or path.name in TEXT_NAMES:
            yield name, path


def rewrite(root, folder, skip):
    """Rewrites every path that names one of the folder's files; returns the files changed."""
    rename = renamer(folder)
    changed = []
    for name, path in text_files(root, skip):
        try:
            text = path.read_text(encoding="utf-8")
        except UnicodeDecodeError:
            continue
        new = rename(text) if rename else text
        if folder == "win32" and name == WIN32_LIST:
            new = win32_list_renamer()(new)
        if name == "CMakeLists.txt" or (folder == "win32" and name == WIN32_LIST):
            new = sorted_source_lists(new)
        if folder == "tests/unit" and name == "tests/CMakeLists.txt":
            new = new.replace(*UNIT_TEST_GLOB)
        if new != text:
            path.write_text(new, encoding="utf-8")
            changed.append(name)
    return changed


def message(folder, moves):
    lines = [f"Move {folder}/ into subfolders, files unchanged but for their include lines", ""]
    by_subfolder = {}
    for old, new in moves:
        by_subfolder.setdefault(new.rsplit("/", 1)[0], set()).add(pathlib.Path(old).stem)
    for subfolder, units in sorted(by_subfolder.items()):
        lines.append(f"{subfolder}/: {', '.join(sorted(units))}")
    lines += ["", "Every include of a moved file, the build lists and the docs name the new paths."]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--dry-run", action="store_true")
    options = parser.parse_args()
    root = pathlib.Path(git(pathlib.Path(options.root), "rev-parse", "--show-toplevel").strip())
    this = pathlib.Path(__file__).resolve()
    skip = str(this.relative_to(root)) if root in this.parents else None

    plans = {folder: moves_of(root, folder) for folder in MAPPING}
    unknown = [name for _, (_, names) in plans.items() for name in names]
    if unknown:
        print("files the mapping doesn't place (nothing was moved):", *unknown, sep="\n  ")
        return 1
    if options.dry_run:
        for folder, (moves, _) in plans.items():
            for old, new in moves:
                print(f"{old} -> {new}")
        return 0
    if git(root, "status", "--porcelain", "--untracked-files=no").strip():
        print("the working tree has changes: commit or stash them first")
        return 1
    for folder, (moves, _) in plans.items():
        for old, new in moves:
            (root / new).parent.mkdir(parents=True, exist_ok=True)
            git(root, "mv", old, new)
        changed = rewrite(root, folder, skip)
        if not moves and not changed:
            print(f"{folder}/: nothing to move")
            continue
        git(root, "add", "--update")
        git(root, "commit", "--quiet", "-m", message(folder, moves) if moves else
            f"Name the moved {folder}/ files by their new paths\n")
        print(f"{folder}/: {len(moves)} files moved, {len(changed)} files rewritten")
    return 0


if __name__ == "__main__":
    sys.exit(main())
