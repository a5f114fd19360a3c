#include "win32/disks/Win32VirtualDisks.h"

#include <windows.h>
#include <virtdisk.h>

#include <cstdint>
#include <cwchar>
#include <type_traits>
#include <vector>

#include "win32/base/DllSearchPath.h"
#include "win32/base/RuntimeFunction.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

using DependencyQuery = DWORD(WINAPI*)(HANDLE, GET_STORAGE_DEPENDENCY_FLAG, ULONG, PSTORAGE_DEPENDENCY_INFO, PULONG);
static_assert(std::is_same_v<DependencyQuery, decltype(&GetStorageDependencyInformation)>);

// What the service answers for a volume that lies on no virtual disk.
constexpr DWORD NotVirtualDiskError = 0xC03A0015;
// The answer grows with nested virtual disks; more than this is no real chain.
constexpr ULONG LargestAnswer = 64 * 1024;

// virtdisk.dll is not a known DLL: from System32 only, once.
DependencyQuery FindDependencyQuery() {
    static const DependencyQuery query =
        ExportedFunction<DependencyQuery>(LoadSystemLibrary(L"virtdisk.dll"), "GetStorageDependencyInformation");
    return query;
}

std::string TextOf(const wchar_t* value) {
    return value != nullptr ? Narrow(value, wcslen(value)) : std::string();
}

// The file the drive lies in directly: the lowest ancestor level of a chain
// of differencing disks.
VirtualDiskLookup NearestHost(const STORAGE_DEPENDENCY_INFO& info) {
    if (info.NumberEntries == 0) return {VirtualDiskLookup::Answer::NotVirtual};
    const STORAGE_DEPENDENCY_INFO_TYPE_2* entries = info.Version2Entries;
    const STORAGE_DEPENDENCY_INFO_TYPE_2* nearest = entries;
    for (ULONG index = 1; index < info.NumberEntries; ++index) {
        if (entries[index].AncestorLevel < nearest->AncestorLevel) nearest = &entries[index];
    }
    return {VirtualDiskLookup::Answer::Found, TextOf(nearest->HostVolumeName),
            TextOf(nearest->DependentVolumeRelativePath)};
}

} // namespace

VirtualDiskLookup Win32VirtualDisks::fileBehind(const std::string& driveName) {
    const DependencyQuery query = FindDependencyQuery();
    if (query == nullptr) return {};
    // The drive's root folder, opened without access rights: enough to ask about it.
    const UniqueHandle root(CreateFileW((Widen(driveName) + L"\\").c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!root.valid()) return {};
    // 8-byte units keep the answer's pointers aligned.
    std::vector<std::uint64_t> answer(4096 / sizeof(std::uint64_t));
    for (;;) {
        const auto bytes = static_cast<ULONG>(answer.size() * sizeof(std::uint64_t));
        auto* info = reinterpret_cast<STORAGE_DEPENDENCY_INFO*>(answer.data());
        info->Version = STORAGE_DEPENDENCY_INFO_VERSION_2;
        ULONG used = 0;
        const DWORD error = query(root.get(), GET_STORAGE_DEPENDENCY_FLAG_HOST_VOLUMES, bytes, info, &used);
        if (error == ERROR_SUCCESS) return NearestHost(*info);
        if (error == NotVirtualDiskError) return {VirtualDiskLookup::Answer::NotVirtual};
        if (error != ERROR_INSUFFICIENT_BUFFER || used <= bytes || used > LargestAnswer) return {};
        answer.resize(used / sizeof(std::uint64_t) + 1);
    }
}

} // namespace orvanta::win32
