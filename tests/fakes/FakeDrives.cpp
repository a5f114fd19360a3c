#include "fakes/FakeDrives.h"

#include <cstdio>

namespace orvanta {

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

DeviceHandle FakeVolumeDevices::open(const std::string& devicePath) {
    journal_.add("open " + devicePath);
    const auto volume = volumes_.find(devicePath);
    if (volume != volumes_.end() && !volume->second.opens) return InvalidDevice;
    handles_.push_back(devicePath);
    return FirstHandle + static_cast<DeviceHandle>(handles_.size()) - 1;
}

const std::string* FakeVolumeDevices::openPath(DeviceHandle device) const {
    const DeviceHandle index = device - FirstHandle;
    if (index < 0 || index >= static_cast<DeviceHandle>(handles_.size())) return nullptr;
    const std::string& path = handles_[static_cast<std::size_t>(index)];
    return path.empty() ? nullptr : &path;
}

bool FakeVolumeDevices::control(DeviceHandle device, std::uint32_t controlCode,
                                std::span<const std::uint8_t> query, std::span<std::uint8_t> answer) {
    const std::string* path = openPath(device);
    char code[16];
    std::snprintf(code, sizeof code, "0x%X", static_cast<unsigned>(controlCode));
    journal_.add("control " + (path ? *path : std::string("of a closed handle")) + " " + code +
                 " in " + std::to_string(query.size()) + " out " + std::to_string(answer.size()));
    lastQuery.assign(query.begin(), query.end());
    lastAnswerOffered.assign(answer.begin(), answer.end());
    if (path == nullptr) return false;
    const auto found = volumes_.find(*path);
    const FakeVolume volume = found == volumes_.end() ? FakeVolume{} : found->second;
    if (volume.writesAnswer && answer.size() >= 32) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            answer[28 + byte] = static_cast<std::uint8_t>(volume.busType >> (8 * byte));
        }
    }
    return volume.succeeds;
}

void FakeVolumeDevices::close(DeviceHandle device) {
    const std::string* path = openPath(device);
    journal_.add("close " + (path ? *path : std::string("of a closed handle")));
    if (path != nullptr) handles_[static_cast<std::size_t>(device - FirstHandle)].clear();
}

} // namespace orvanta
