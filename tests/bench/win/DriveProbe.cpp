// Benchmark reference, not part of the product: times the queries that a
// scan of the fixed drives has to make for each drive (drive type, the
// storage-property query on the volume, the look-up of its Windows folder),
// so that the growth of Orvanta's start-up with the number of drives can be
// set against what the system itself charges for them. Prints
// "drives<TAB>n" and "per_drive_ms<TAB>x" (the mean over all drives).
#include <windows.h>
#include <winioctl.h>

#include <string>

namespace {

void print(const std::wstring& key, const std::wstring& value) {
    const std::wstring line = key + L"\t" + value + L"\n";
    const std::string narrow(line.begin(), line.end());
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), narrow.data(), static_cast<DWORD>(narrow.size()), &written,
              nullptr);
}

void queryBus(const wchar_t* root) {
    const std::wstring device = std::wstring(L"\\\\.\\") + root[0] + L":";
    const HANDLE volume = CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return;
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    BYTE answer[1024];
    DWORD returned = 0;
    DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, answer, sizeof answer,
                    &returned, nullptr);
    CloseHandle(volume);
}

void findWindowsFolder(const wchar_t* root) {
    const std::wstring path = std::wstring(root, 2) + L"\\Windows";
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

} // namespace

int wmain() {
    wchar_t roots[512];
    const DWORD length = GetLogicalDriveStringsW(512, roots);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int drives = 0;
    for (const wchar_t* root = roots; length && length < 512 && *root; root += lstrlenW(root) + 1) {
        const std::wstring name(root, 2);
        if (GetDriveTypeW(name.c_str()) != DRIVE_FIXED) continue;
        ++drives;
        queryBus(root);
        findWindowsFolder(root);
    }
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    print(L"drives", std::to_wstring(drives));
    print(L"per_drive_ms", std::to_wstring(drives ? ms / drives : 0.0));
    return 0;
}
