#pragma once
// The drive letters of the fake machine and the volume devices behind them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fakes/Journal.h"
#include "platform/Drives.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

enum class DriveKind : std::uint32_t { Removable = 2, Fixed = 3, Network = 4, Optical = 5, RamDisk = 6 };

class FakeDrives : public Drives {
public:
    explicit FakeDrives(Journal& journal) : journal_(journal) {}
    void add(char letter, DriveKind kind) { drives_.push_back({letter, static_cast<std::uint32_t>(kind)}); }
    void failReads() { failing_ = true; }

    // As the system does it: the count without the final NUL when the strings
    // fit, otherwise the size needed with it, leaving the buffer alone.
    std::uint32_t logicalDriveStrings(std::string& buffer) override;
    std::uint32_t driveType(const std::string& driveName) override;

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
};

class FakeVolumeDevices : public VolumeDevices {
public:
    explicit FakeVolumeDevices(Journal& journal) : journal_(journal) {}
    void set(const std::string& driveName, FakeVolume volume) { volumes_["\\\\.\\" + driveName] = volume; }

    DeviceHandle open(const std::string& devicePath) override;
    bool control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                 std::span<std::uint8_t> answer) override;
    void close(DeviceHandle device) override;

    // The records of the last request as the program offered them.
    std::vector<std::uint8_t> lastQuery;
    std::vector<std::uint8_t> lastAnswerOffered;

private:
    const std::string* openPath(DeviceHandle device) const;

    Journal& journal_;
    std::map<std::string, FakeVolume> volumes_; // unnamed volumes take the defaults
    std::vector<std::string> handles_;          // by handle - FirstHandle; "" once closed
    static constexpr DeviceHandle FirstHandle = 100;
};

} // namespace orvanta
