#pragma once
// The drive letters of the fake machine, and the volume and disk devices behind them.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "discovery/disks/DiskRecords.h"
#include "discovery/disks/PartitionIdentity.h"
#include "fakes/Journal.h"
#include "platform/disks/Devices.h"
#include "platform/disks/Drives.h"

namespace orvanta {

enum class DriveKind : std::uint32_t { Removable = 2, Fixed = 3, Network = 4, Optical = 5, RamDisk = 6 };

class FakeDrives : public Drives {
public:
    explicit FakeDrives(Journal& journal) : journal_(journal) {}
    void add(char letter, DriveKind kind) { drives_.push_back({letter, static_cast<std::uint32_t>(kind)}); }
    void failReads() { failing_ = true; }
    bool has(char letter) const;

    // As the system does it: the count without the final NUL when the strings
    // fit, otherwise the size needed with it, leaving the buffer alone.
    std::uint32_t logicalDriveStrings(std::string& buffer) override;
    std::uint32_t driveType(const std::string& driveName) override;
    // A mapped letter shows as a fixed drive until it is removed.
    bool mapDrive(const std::string& driveName, const std::string& devicePath) override;
    void unmapDrive(const std::string& driveName, const std::string& devicePath) override;
    // The letter's device (mapped letters included), then the links from it.
    std::vector<std::string> deviceNamesOf(const std::string& driveName) override;

    std::map<std::string, std::string> devices; // by drive name: the device the letter names
    std::map<std::string, std::string> links;   // a device name -> the one it links to

private:
    struct Drive {
        char letter;
        std::uint32_t type;
    };
    Journal& journal_;
    std::vector<Drive> drives_;
    bool failing_ = false;
};

struct FakeVolume {
    bool opens = true;
    std::uint32_t busType = 11; // SATA
    bool writesAnswer = true;
    bool succeeds = true;
    std::optional<VolumeLocation> location = std::nullopt; // what IOCTL_STORAGE_GET_DEVICE_NUMBER answers
};

struct FakeDisk {
    std::vector<std::uint8_t> layout; // what IOCTL_DISK_GET_DRIVE_LAYOUT_EX answers; empty: it fails
    std::uint32_t busType = 11;
    std::uint32_t sectorSize = 512; // what IOCTL_DISK_GET_DRIVE_GEOMETRY_EX answers; 0: it fails
    // Bytes at byte offsets of the disk; everything else reads as zeros.
    std::map<std::uint64_t, std::vector<std::uint8_t>> contents = {};
    // A layout that doesn't fit the buffer: ERROR_MORE_DATA with as much as fits,
    // instead of ERROR_INSUFFICIENT_BUFFER with nothing.
    bool layoutAnswersMoreData = false;
    std::uint32_t readError = 0; // what every read answers, when not 0
    std::string model = {};      // the product id of its storage property, when not ""
};

// Volumes \\.\C: and disks \\.\PhysicalDriveN. A volume nobody described opens
// with the defaults; a disk nobody added can't be opened.
class FakeDevices : public Devices {
public:
    explicit FakeDevices(Journal& journal) : journal_(journal) {}
    void set(const std::string& driveName, FakeVolume volume) { volumes_["\\\\.\\" + driveName] = volume; }
    void addDisk(std::uint32_t number, FakeDisk disk) {
        disks_["\\\\.\\PhysicalDrive" + std::to_string(number)] = std::move(disk);
    }

    DeviceHandle open(const std::string& devicePath) override;
    std::uint32_t control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                          std::span<std::uint8_t> answer) override;
    // Only disks are read, in whole sectors (ERROR_INVALID_PARAMETER otherwise).
    std::uint32_t read(DeviceHandle device, std::uint64_t byteOffset, std::span<std::uint8_t> buffer) override;
    void close(DeviceHandle device) override;

    // The partition identity of a drive's volume, from its location and its
    // disk's layout; nothing when either is not told.
    std::optional<PartitionIdentity> identityOf(const std::string& driveName) const;

    // The records of the last request as the program offered them.
    std::vector<std::uint8_t> lastQuery;
    std::vector<std::uint8_t> lastAnswerOffered;
    // Before each answer but the storage property's (who the device is): a
    // slow device keeps its caller waiting here.
    std::function<void(const std::string& devicePath)> beforeAnswer;

private:
    const std::string* openPath(DeviceHandle device) const;
    std::uint32_t answer(const std::string& path, std::uint32_t controlCode, std::span<std::uint8_t> answer);

    Journal& journal_;
    std::map<std::string, FakeVolume> volumes_;
    std::map<std::string, FakeDisk> disks_;
    std::vector<std::string> handles_; // by handle - FirstHandle; "" once closed
    static constexpr DeviceHandle FirstHandle = 100;
};

} // namespace orvanta
