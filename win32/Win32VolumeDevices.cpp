#include "win32/Win32VolumeDevices.h"

#include <windows.h>
#include <winioctl.h>

#include <cstddef>

#include "discovery/StorageRecords.h"
#include "win32/Utf.h"

namespace orvanta::win32 {

// The core lays the records out byte for byte; they must match the SDK's.
static_assert(QueryRecordSize == sizeof(STORAGE_PROPERTY_QUERY));
static_assert(AnswerRecordSize == offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties) + 4);
static_assert(AnswerRecordSize == sizeof(STORAGE_DEVICE_DESCRIPTOR));
static_assert(AnswerSizeOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, Size));
static_assert(AnswerBusTypeOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType));
static_assert(orvanta::UsbBusType == static_cast<std::uint32_t>(::BusTypeUsb));
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == 0x2D1400);

DeviceHandle Win32VolumeDevices::open(const std::string& devicePath) {
    const HANDLE device = CreateFileW(Widen(devicePath).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    if (device == INVALID_HANDLE_VALUE || device == nullptr) return InvalidDevice;
    return reinterpret_cast<DeviceHandle>(device);
}

bool Win32VolumeDevices::control(DeviceHandle device, std::uint32_t controlCode,
                                 std::span<const std::uint8_t> query, std::span<std::uint8_t> answer) {
    DWORD returned = 0;
    return DeviceIoControl(reinterpret_cast<HANDLE>(device), controlCode,
                           const_cast<std::uint8_t*>(query.data()), static_cast<DWORD>(query.size()),
                           answer.data(), static_cast<DWORD>(answer.size()), &returned,
                           nullptr) != FALSE;
}

void Win32VolumeDevices::close(DeviceHandle device) {
    CloseHandle(reinterpret_cast<HANDLE>(device));
}

} // namespace orvanta::win32
