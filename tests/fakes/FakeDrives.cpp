#include "fakes/FakeDrives.h"

#include <algorithm>
#include <cstdio>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {

bool FakeDrives::has(char letter) const {
    return std::any_of(drives_.begin(), drives_.end(), [&](const Drive& drive) { return drive.letter == letter; });
}

std::uint32_t FakeDrives::logicalDriveStrings(std::string& buffer) {
    journal_.add("drive strings " + std::to_string(buffer.size()));
    if (failing_) return 0;
    std::string strings;
    for (const Drive& drive : drives_) strings += std::string{drive.letter, ':', '\\', '\0'};
    if (strings.size() + 1 > buffer.size()) return static_cast<std::uint32_t>(strings.size() + 1);
    buffer.replace(0, strings.size() + 1, strings + '\0');
    return static_cast<std::uint32_t>(strings.size());
}

std::uint32_t FakeDrives::driveType(const std::string& driveName) {
    for (const Drive& drive : drives_) {
        if (driveName == std::string{drive.letter, ':'}) return drive.type;
    }
    return 1; // DRIVE_NO_ROOT_DIR
}

bool FakeDrives::mapDrive(const std::string& driveName, const std::string& devicePath) {
    journal_.add("map " + driveName + " " + devicePath);
    if (has(driveName[0])) return false;
    add(driveName[0], DriveKind::Fixed);
    devices[driveName] = devicePath;
    return true;
}

void FakeDrives::unmapDrive(const std::string& driveName, const std::string& devicePath) {
    journal_.add("unmap " + driveName + " " + devicePath);
    std::erase_if(drives_, [&](const Drive& drive) { return drive.letter == driveName[0]; });
    devices.erase(driveName);
}

std::vector<std::string> FakeDrives::deviceNamesOf(const std::string& driveName) {
    journal_.add("device names " + driveName);
    std::vector<std::string> names;
    const auto device = devices.find(driveName);
    if (device == devices.end()) return names;
    names.push_back(device->second);
    for (auto link = links.find(names.back()); link != links.end() && names.size() < 8; link = links.find(names.back())) {
        names.push_back(link->second);
    }
    return names;
}

DeviceHandle FakeDevices::open(const std::string& devicePath) {
    journal_.add("open " + devicePath);
    const auto volume = volumes_.find(devicePath);
    if (volume != volumes_.end() && !volume->second.opens) return InvalidDevice;
    const bool isDisk = devicePath.find("PhysicalDrive") != std::string::npos;
    if (isDisk && disks_.count(devicePath) == 0) return InvalidDevice;
    handles_.push_back(devicePath);
    return FirstHandle + static_cast<DeviceHandle>(handles_.size()) - 1;
}

const std::string* FakeDevices::openPath(DeviceHandle device) const {
    const DeviceHandle index = device - FirstHandle;
    if (index < 0 || index >= static_cast<DeviceHandle>(handles_.size())) return nullptr;
    const std::string& path = handles_[static_cast<std::size_t>(index)];
    return path.empty() ? nullptr : &path;
}

namespace {

constexpr std::uint32_t NotSupportedError = 50;     // ERROR_NOT_SUPPORTED, as Wine answers a layout query
constexpr std::uint32_t InvalidParameterError = 87; // ERROR_INVALID_PARAMETER

std::uint32_t Outcome(bool succeeded) {
    return succeeded ? 0 : InvalidFunctionError;
}

std::uint32_t AnswerLayout(const FakeDisk& disk, std::span<std::uint8_t> buffer) {
    if (disk.layout.empty()) return NotSupportedError;
    if (disk.layout.size() <= buffer.size()) {
        std::copy(disk.layout.begin(), disk.layout.end(), buffer.begin());
        return 0;
    }
    if (!disk.layoutAnswersMoreData) return InsufficientBufferError;
    std::copy_n(disk.layout.begin(), buffer.size(), buffer.begin());
    return MoreDataError;
}

// ProductIdOffset at 16, the text (NUL-ended) right after the 40-byte record.
void WriteModel(const std::string& model, std::span<std::uint8_t> buffer) {
    if (model.empty() || buffer.size() < 40 + model.size() + 1) return;
    WriteLittleEndian32(buffer, 16, 40);
    std::copy(model.begin(), model.end(), buffer.begin() + 40);
    buffer[40 + model.size()] = 0;
}

std::uint32_t AnswerGeometry(const FakeDisk& disk, std::span<std::uint8_t> buffer) {
    if (disk.sectorSize == 0) return InvalidFunctionError;
    if (buffer.size() < 32) return InsufficientBufferError;
    WriteLittleEndian32(buffer, 20, disk.sectorSize); // Geometry.BytesPerSector
    WriteLittleEndian32(buffer, 28, 0x40);            // DiskSize's upper half: 256 GiB
    return 0;
}

} // namespace

std::uint32_t FakeDevices::control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                                   std::span<std::uint8_t> answerBuffer) {
    const std::string* path = openPath(device);
    char code[16];
    std::snprintf(code, sizeof code, "0x%X", static_cast<unsigned>(controlCode));
    journal_.add("control " + (path ? *path : std::string("of a closed handle")) + " " + code + " in " +
                 std::to_string(query.size()) + " out " + std::to_string(answerBuffer.size()));
    lastQuery.assign(query.begin(), query.end());
    lastAnswerOffered.assign(answerBuffer.begin(), answerBuffer.end());
    if (path != nullptr && controlCode != 0x2D1400 && beforeAnswer) beforeAnswer(*path);
    return path != nullptr ? answer(*path, controlCode, answerBuffer) : InvalidFunctionError;
}

std::uint32_t FakeDevices::answer(const std::string& path, std::uint32_t controlCode, std::span<std::uint8_t> buffer) {
    const auto disk = disks_.find(path);
    const FakeVolume volume = volumes_.count(path) != 0 ? volumes_.at(path) : FakeVolume{};
    switch (controlCode) {
    case 0x2D1400: { // IOCTL_STORAGE_QUERY_PROPERTY: the bus type at offset 28, a disk's model after the record
        const bool writes = disk != disks_.end() || volume.writesAnswer;
        if (writes && buffer.size() >= 32) {
            WriteLittleEndian32(buffer, 28, disk != disks_.end() ? disk->second.busType : volume.busType);
        }
        if (disk != disks_.end()) WriteModel(disk->second.model, buffer);
        return Outcome(disk != disks_.end() || volume.succeeds);
    }
    case 0x2D1080: // IOCTL_STORAGE_GET_DEVICE_NUMBER: the disk and partition of a volume
        if (!volume.location || buffer.size() < 12) return InvalidFunctionError;
        WriteLittleEndian32(buffer, 0, 7); // FILE_DEVICE_DISK
        WriteLittleEndian32(buffer, 4, volume.location->disk);
        WriteLittleEndian32(buffer, 8, volume.location->partition);
        return 0;
    case 0x70050: // IOCTL_DISK_GET_DRIVE_LAYOUT_EX: the partition table as the disk gives it
        return disk == disks_.end() ? InvalidFunctionError : AnswerLayout(disk->second, buffer);
    case 0x700A0: // IOCTL_DISK_GET_DRIVE_GEOMETRY_EX: the sector size
        return disk == disks_.end() ? InvalidFunctionError : AnswerGeometry(disk->second, buffer);
    default:
        return InvalidFunctionError;
    }
}

std::uint32_t FakeDevices::read(DeviceHandle device, std::uint64_t byteOffset, std::span<std::uint8_t> buffer) {
    const std::string* path = openPath(device);
    journal_.add("read " + (path ? *path : std::string("of a closed handle")) + " at " + std::to_string(byteOffset) +
                 " length " + std::to_string(buffer.size()));
    if (path != nullptr && beforeAnswer) beforeAnswer(*path);
    const auto disk = path != nullptr ? disks_.find(*path) : disks_.end();
    if (disk == disks_.end()) return InvalidFunctionError;
    const FakeDisk& fake = disk->second;
    if (fake.readError != 0) return fake.readError;
    const std::uint64_t sector = fake.sectorSize == 0 ? 512 : fake.sectorSize;
    if (byteOffset % sector != 0 || buffer.size() % sector != 0) return InvalidParameterError;
    std::fill(buffer.begin(), buffer.end(), 0);
    for (const auto& [start, bytes] : fake.contents) {
        for (std::size_t index = 0; index < bytes.size(); ++index) {
            const std::uint64_t at = start + index;
            if (at >= byteOffset && at - byteOffset < buffer.size()) buffer[at - byteOffset] = bytes[index];
        }
    }
    return 0;
}

void FakeDevices::close(DeviceHandle device) {
    const std::string* path = openPath(device);
    journal_.add("close " + (path ? *path : std::string("of a closed handle")));
    if (path != nullptr) handles_[static_cast<std::size_t>(device - FirstHandle)].clear();
}

std::optional<PartitionIdentity> FakeDevices::identityOf(const std::string& driveName) const {
    const auto volume = volumes_.find("\\\\.\\" + driveName);
    if (volume == volumes_.end() || !volume->second.location) return std::nullopt;
    const VolumeLocation location = *volume->second.location;
    const auto disk = disks_.find("\\\\.\\PhysicalDrive" + std::to_string(location.disk));
    if (disk == disks_.end()) return std::nullopt;
    return IdentityOf({{location.disk, 0, ParseDriveLayout(disk->second.layout)}}, location.disk, location.partition);
}

} // namespace orvanta
