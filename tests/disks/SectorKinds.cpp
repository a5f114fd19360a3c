// Prints what the core tells from the first sector of each file: a volume's
// file system, or a disk's MBR boot code. For the check of sectors that real
// tools wrote (check_sector_kinds.py).
//   sector_kinds volume|mbr FILE...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "discovery/volumes/BootSector.h"
#include "discovery/disks/MasterBootCode.h"

namespace {

const char* NameOf(orvanta::BootSectorKind kind) {
    constexpr const char* Names[] = {"empty", "ntfs", "fat12", "fat16", "fat32", "exfat", "bitlocker", "other"};
    return Names[static_cast<int>(kind)];
}

const char* NameOf(orvanta::MasterBootCodeKind kind) {
    constexpr const char* Names[] = {"empty", "windows", "older-windows", "grub", "veracrypt", "truecrypt", "unknown"};
    return Names[static_cast<int>(kind)];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string what = argv[1];
    for (int index = 2; index < argc; ++index) {
        std::ifstream file(argv[index], std::ios::binary);
        std::vector<std::uint8_t> sector(4096, 0);
        file.read(reinterpret_cast<char*>(sector.data()), static_cast<std::streamsize>(sector.size()));
        if (!file && file.gcount() < 512) return 1;
        const char* name = what == "mbr" ? NameOf(orvanta::ClassifyMasterBootCode(sector))
                                         : NameOf(orvanta::ClassifyBootSector(sector));
        std::printf("%s\n", name);
    }
    return 0;
}
