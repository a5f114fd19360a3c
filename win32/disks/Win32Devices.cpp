#include "win32/disks/Win32Devices.h"

#include <windows.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "discovery/disks/DiskRecords.h"
#include "discovery/disks/StorageRecords.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

// The core lays the records out byte for byte; they must match the SDK's.
static_assert(QueryRecordSize == sizeof(STORAGE_PROPERTY_QUERY));
static_assert(AnswerRecordSize == offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties) + 4);
static_assert(AnswerRecordSize == sizeof(STORAGE_DEVICE_DESCRIPTOR));
static_assert(AnswerSizeOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, Size));
static_assert(AnswerBusTypeOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType));
static_assert(AnswerProductIdOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset));
static_assert(AnswerTextsStart == offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties));
static_assert(DescriptorBufferSize > sizeof(STORAGE_DEVICE_DESCRIPTOR));
static_assert(orvanta::UsbBusType == static_cast<std::uint32_t>(::BusTypeUsb));
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == 0x2D1400);

static_assert(DriveLayoutControlCode == IOCTL_DISK_GET_DRIVE_LAYOUT_EX);
static_assert(DeviceNumberControlCode == IOCTL_STORAGE_GET_DEVICE_NUMBER);
static_assert(LayoutStyleOffset == offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionStyle));
static_assert(LayoutCountOffset == offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionCount));
static_assert(LayoutEntriesOffset == offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry));
static_assert(LayoutSignatureOffset == offsetof(DRIVE_LAYOUT_INFORMATION_EX, Mbr) +
                                           offsetof(DRIVE_LAYOUT_INFORMATION_MBR, Signature));
static_assert(LayoutDiskIdOffset == offsetof(DRIVE_LAYOUT_INFORMATION_EX, Gpt) +
                                        offsetof(DRIVE_LAYOUT_INFORMATION_GPT, DiskId));
static_assert(PartitionEntrySize == sizeof(PARTITION_INFORMATION_EX));
static_assert(EntryStyleOffset == offsetof(PARTITION_INFORMATION_EX, PartitionStyle));
static_assert(EntryStartOffset == offsetof(PARTITION_INFORMATION_EX, StartingOffset));
static_assert(EntryLengthOffset == offsetof(PARTITION_INFORMATION_EX, PartitionLength));
static_assert(EntryNumberOffset == offsetof(PARTITION_INFORMATION_EX, PartitionNumber));
static_assert(EntryTypeOffset == offsetof(PARTITION_INFORMATION_EX, Mbr) + offsetof(PARTITION_INFORMATION_MBR, PartitionType));
static_assert(EntryTypeOffset == offsetof(PARTITION_INFORMATION_EX, Gpt) + offsetof(PARTITION_INFORMATION_GPT, PartitionType));
static_assert(EntryBootIndicatorOffset ==
              offsetof(PARTITION_INFORMATION_EX, Mbr) + offsetof(PARTITION_INFORMATION_MBR, BootIndicator));
static_assert(EntryIdOffset == offsetof(PARTITION_INFORMATION_EX, Gpt) + offsetof(PARTITION_INFORMATION_GPT, PartitionId));
static_assert(PartitionInfoControlCode == IOCTL_DISK_GET_PARTITION_INFO_EX);
static_assert(MbrPartitionStyle == PARTITION_STYLE_MBR && GptPartitionStyle == PARTITION_STYLE_GPT &&
              RawPartitionStyle == PARTITION_STYLE_RAW);
static_assert(MbrSystemPartitionType == 0xEF);
static_assert(DeviceNumberRecordSize == sizeof(STORAGE_DEVICE_NUMBER));
static_assert(DeviceNumberOffset == offsetof(STORAGE_DEVICE_NUMBER, DeviceNumber));
static_assert(PartitionNumberOffset == offsetof(STORAGE_DEVICE_NUMBER, PartitionNumber));
static_assert(sizeof(GUID) == GptSystemPartitionType.size());
static_assert(DriveGeometryControlCode == IOCTL_DISK_GET_DRIVE_GEOMETRY_EX);
static_assert(GeometryBytesPerSectorOffset ==
              offsetof(DISK_GEOMETRY_EX, Geometry) + offsetof(DISK_GEOMETRY, BytesPerSector));
static_assert(GeometryDiskSizeOffset == offsetof(DISK_GEOMETRY_EX, DiskSize));
// The least the request takes, and room for all it may write.
static_assert(GeometryMinimumSize == sizeof(DISK_GEOMETRY) + sizeof(LARGE_INTEGER));
static_assert(GeometryBufferSize >= sizeof(DISK_GEOMETRY) + sizeof(LARGE_INTEGER) + sizeof(DISK_PARTITION_INFO) +
                                        sizeof(DISK_DETECTION_INFO));
static_assert(InsufficientBufferError == ERROR_INSUFFICIENT_BUFFER && MoreDataError == ERROR_MORE_DATA);

namespace {

// PARTITION_SYSTEM_GUID of diskguid.h; the core compares the type's bytes as
// the GUID lies in memory (Data1 to Data3 little-endian).
constexpr GUID SystemPartitionGuid{0xC12A7328, 0xF81F, 0x11D2, {0xBA, 0x4B, 0x00, 0xA0, 0xC9, 0x3E, 0xC9, 0x3B}};

constexpr bool MatchesInMemoryOrder(const GUID& guid, const std::array<std::uint8_t, 16>& bytes) {
    const auto littleEndian = [&](std::size_t at, std::size_t width) {
        unsigned long value = 0;
        for (std::size_t index = width; index-- > 0;) value = value << 8U | bytes[at + index];
        return value;
    };
    if (guid.Data1 != littleEndian(0, 4) || guid.Data2 != littleEndian(4, 2) || guid.Data3 != littleEndian(6, 2)) {
        return false;
    }
    for (std::size_t index = 0; index < 8; ++index) {
        if (guid.Data4[index] != bytes[8 + index]) return false;
    }
    return true;
}
static_assert(MatchesInMemoryOrder(SystemPartitionGuid, GptSystemPartitionType));

struct PagesRelease {
    void operator()(void* pages) const { VirtualFree(pages, 0, MEM_RELEASE); }
};

} // namespace

DeviceHandle Win32Devices::open(const std::string& devicePath) {
    const HANDLE device = CreateFileW(Widen(devicePath).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    if (device == INVALID_HANDLE_VALUE || device == nullptr) return InvalidDevice;
    return reinterpret_cast<DeviceHandle>(device);
}

std::uint32_t Win32Devices::control(DeviceHandle device, std::uint32_t controlCode,
                                    std::span<const std::uint8_t> query, std::span<std::uint8_t> answer) {
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(reinterpret_cast<HANDLE>(device), controlCode,
                                      query.empty() ? nullptr : const_cast<std::uint8_t*>(query.data()),
                                      static_cast<DWORD>(query.size()), answer.data(),
                                      static_cast<DWORD>(answer.size()), &returned, nullptr);
    return done != FALSE ? ERROR_SUCCESS : GetLastError();
}

std::uint32_t Win32Devices::read(DeviceHandle device, std::uint64_t byteOffset, std::span<std::uint8_t> buffer) {
    if (buffer.empty() || buffer.size() > MAXDWORD) return ERROR_INVALID_PARAMETER;
    // A raw disk read goes to the device as it is: a buffer of whole pages meets
    // any alignment the storage adapter asks for.
    const std::unique_ptr<void, PagesRelease> pages(
        VirtualAlloc(nullptr, buffer.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!pages) return GetLastError();
    // On a handle opened without FILE_FLAG_OVERLAPPED, ReadFile starts at the
    // OVERLAPPED's offset and returns once the read is done.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(byteOffset);
    at.OffsetHigh = static_cast<DWORD>(byteOffset >> 32U);
    DWORD read = 0;
    if (ReadFile(reinterpret_cast<HANDLE>(device), pages.get(), static_cast<DWORD>(buffer.size()), &read, &at) == FALSE) {
        return GetLastError();
    }
    if (read != buffer.size()) return ERROR_HANDLE_EOF; // past the end of the disk
    std::memcpy(buffer.data(), pages.get(), buffer.size());
    return ERROR_SUCCESS;
}

void Win32Devices::close(DeviceHandle device) {
    CloseHandle(reinterpret_cast<HANDLE>(device));
}

} // namespace orvanta::win32
