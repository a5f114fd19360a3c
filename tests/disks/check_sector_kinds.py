#!/usr/bin/env python3
"""First sectors that real tools wrote, told apart by the core.

Makes small file systems with mkfs.fat (FAT12, FAT16, and FAT32 shaped as
Windows makes a 100 MB ESP), mkfs.exfat and mkntfs (512- and 4096-byte
sectors), takes GRUB 2's boot.img as grub-install puts it into an MBR, and
checks what `sector_kinds` says of each. ./dev installs the tools (dosfstools,
exfatprogs, ntfs-3g, grub-pc-bin).

    check_sector_kinds.py <sector_kinds executable>
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

BOOT_IMG = pathlib.Path("/usr/lib/grub/i386-pc/boot.img")
# The tools live in sbin, which a user's PATH may leave out.
SEARCH_PATH = os.pathsep.join([os.environ.get("PATH", ""), "/usr/sbin", "/sbin"])

# (file name, size in MiB, command after the tool's name, expected kind)
VOLUMES = [
    ("fat12", 4, ["mkfs.fat", "-F", "12"], "fat12"),
    ("fat16", 64, ["mkfs.fat", "-F", "16"], "fat16"),
    ("esp", 100, ["mkfs.fat", "-F", "32", "-S", "512", "-s", "1"], "fat32"),
    ("fat32", 600, ["mkfs.fat", "-F", "32"], "fat32"),
    ("exfat", 64, ["mkfs.exfat"], "exfat"),
    ("ntfs", 64, ["mkntfs", "-F", "-Q", "-q"], "ntfs"),
    ("ntfs4k", 64, ["mkntfs", "-F", "-Q", "-q", "-s", "4096"], "ntfs"),
]


def kinds(tool, what, files):
    result = subprocess.run([tool, what, *map(str, files)], capture_output=True, text=True, check=True)
    return result.stdout.split()


def main():
    tool = sys.argv[1]
    missing = [name for name in ("mkfs.fat", "mkfs.exfat", "mkntfs") if not shutil.which(name, path=SEARCH_PATH)]
    if missing or not BOOT_IMG.exists():
        print("missing", *missing, *([] if BOOT_IMG.exists() else [BOOT_IMG]), "- ./dev test installs them")
        return 1
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        images = []
        for name, mebibytes, command, _ in VOLUMES:
            image = pathlib.Path(folder, name)
            with open(image, "wb") as file:
                file.truncate(mebibytes << 20)
            program = shutil.which(command[0], path=SEARCH_PATH)
            subprocess.run([program, *command[1:], str(image)], check=True, capture_output=True)
            images.append(image)
        for (name, _, _, expected), told in zip(VOLUMES, kinds(tool, "volume", images)):
            if told != expected:
                failures.append(f"{name}: {told}, expected {expected}")
        # grub-install keeps the disk's signature and partition table beside boot.img's code.
        disk = pathlib.Path(folder, "grub-disk")
        sector = bytearray(BOOT_IMG.read_bytes()[:440]) + bytes(72)
        sector[446:462] = bytes([0x80, 0, 0, 0, 0x83, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0x10, 0])
        sector[510:512] = b"\x55\xaa"
        disk.write_bytes(sector)
        told = kinds(tool, "mbr", [disk, images[0]])
        if told != ["grub", "unknown"]:
            failures.append(f"GRUB's MBR and a FAT boot sector as boot code: {told}, expected grub, unknown")
    for failure in failures:
        print(failure)
    print(f"{len(VOLUMES) + 2 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
