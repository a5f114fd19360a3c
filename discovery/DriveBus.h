#pragma once
// The bus a drive is attached through, asked of its volume device.
#include <cstdint>
#include <string>

#include "discovery/StorageRecords.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

// Composes a device control code like the system's CTL_CODE: device type in
// bits 16 and up, access in bits 14-15, function in bits 2-13, method in bits
// 0-1. Throws PlatformError (overflow, number 6) when a part leaves the signed
// 32-bit range.
std::int32_t DeviceControlCode(std::int32_t deviceType, std::int32_t function, std::int32_t method,
                               std::int32_t access);

// IOCTL_STORAGE_QUERY_PROPERTY, 0x2D1400.
std::int32_t StorageQueryPropertyCode();

// One standard device-property request on an open device; true when it succeeded.
bool QueryStorageDevice(VolumeDevices& volumes, DeviceHandle device, AnswerRecord& answer);

// The STORAGE_BUS_TYPE of a drive such as "C:"; UnknownBusType when its
// volume can't be opened or the request writes nothing.
std::uint32_t DriveBusType(VolumeDevices& volumes, const std::string& driveName);

} // namespace orvanta
