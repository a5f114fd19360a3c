#pragma once
// Whether a drive is attached through a USB bus, asked of its volume device.
#include <cstdint>
#include <string>

#include "discovery/StorageRecords.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

// Composes a device control code: device type in bits 16 and up, access in
// bits 14-15, function in bits 2-13, method in bits 0-1. Throws
// PlatformError (overflow, number 6) when a part leaves the signed 32-bit range.
std::int32_t CtlCode(std::int32_t deviceType, std::int32_t function, std::int32_t method,
                     std::int32_t access);

// IOCTL_STORAGE_QUERY_PROPERTY, 0x2D1400.
std::int32_t StorageQueryPropertyCode();

// One standard device-property request on an open device; true when it succeeded.
bool QueryStorageDevice(VolumeDevices& devices, DeviceHandle device, AnswerRecord& answer);

// "Usb" when the drive (such as "C:") sits on a USB bus, otherwise "".
std::string DriveBusTag(VolumeDevices& devices, const std::string& driveName);

} // namespace orvanta
