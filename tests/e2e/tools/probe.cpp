// Sandbox probe: reports and sets what the program under test sees of the
// sandbox PC's drives and files, through the same Win32 calls.
//   probe drives                 every drive string with its type
//   probe type <X:>              the drive type of one drive
//   probe attr <path>            the attributes of a path (hex) or "missing"
//   probe setattr <path> <+h|-h|+s|-s|+r|-r>...
//   probe find <path>            first match with FindFirstFileW: name and attributes
//   probe busy <ms>              spin for that long
//   probe ctrlc <file> <text> <result file>
//                                once <file> holds <text> (waits up to 60 s), sends Ctrl+C to
//                                every process of its console, itself included, and writes
//                                to <result file> whether its own handler got it within 5 s:
//                                "ctrlc delivered", "ctrlc not delivered" or "ctrlc failed <error>"
//   probe snapshot <folder>...   every file and folder below the folders, sorted, one a line:
//                                path, attributes, size, last write time and a hash of the bytes;
//                                two snapshots are equal only when nothing there changed
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Utf.h"

namespace {

using e2etext::Utf8;

const char* TypeName(UINT type) {
    switch (type) {
    case DRIVE_UNKNOWN: return "unknown";
    case DRIVE_NO_ROOT_DIR: return "no-root";
    case DRIVE_REMOVABLE: return "removable";
    case DRIVE_FIXED: return "fixed";
    case DRIVE_REMOTE: return "network";
    case DRIVE_CDROM: return "cdrom";
    case DRIVE_RAMDISK: return "ramdisk";
    default: return "other";
    }
}

int Drives() {
    const DWORD needed = GetLogicalDriveStringsW(0, nullptr);
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    for (const wchar_t* drive = buffer.data(); drive < buffer.data() + length && *drive; drive += wcslen(drive) + 1) {
        std::wstring name(drive, 2);
        std::printf("drive %s %s\n", Utf8(name).c_str(), TypeName(GetDriveTypeW(name.c_str())));
    }
    return 0;
}

int SetAttributes(const std::wstring& path, int argc, wchar_t** argv) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        std::printf("missing %s\n", Utf8(path).c_str());
        return 1;
    }
    for (int i = 0; i < argc; ++i) {
        const std::wstring change = argv[i];
        DWORD bit = 0;
        if (change.size() == 2 && (change[1] == L'h' || change[1] == L'H')) bit = FILE_ATTRIBUTE_HIDDEN;
        if (change.size() == 2 && (change[1] == L's' || change[1] == L'S')) bit = FILE_ATTRIBUTE_SYSTEM;
        if (change.size() == 2 && (change[1] == L'r' || change[1] == L'R')) bit = FILE_ATTRIBUTE_READONLY;
        if (bit == 0) return 2;
        attributes = change[0] == L'+' ? (attributes | bit) : (attributes & ~bit);
    }
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
    if (!SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) {
        std::printf("setattr-failed %lu\n", GetLastError());
        return 1;
    }
    std::printf("attr %s 0x%lx\n", Utf8(path).c_str(), GetFileAttributesW(path.c_str()));
    return 0;
}

HANDLE CtrlCSeen = nullptr;

BOOL WINAPI NoteCtrlC(DWORD type) {
    if (type == CTRL_C_EVENT) SetEvent(CtrlCSeen);
    return TRUE;
}

bool FileHolds(const std::wstring& path, const std::string& text) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string content(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
    CloseHandle(file);
    return content.substr(0, got).find(text) != std::string::npos;
}

int SendCtrlC(const std::wstring& watched, const std::string& text, const std::wstring& resultPath) {
    for (int tries = 0; tries < 1200 && !FileHolds(watched, text); ++tries) Sleep(50);
    CtrlCSeen = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(&NoteCtrlC, TRUE);
    std::string result;
    if (GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        result = WaitForSingleObject(CtrlCSeen, 5000) == WAIT_OBJECT_0 ? "ctrlc delivered" : "ctrlc not delivered";
    } else {
        result = "ctrlc failed " + std::to_string(GetLastError());
    }
    const HANDLE out = CreateFileW(resultPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    result += "\r\n";
    DWORD written = 0;
    WriteFile(out, result.data(), static_cast<DWORD>(result.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}

// FNV-1a over the file's bytes; "unreadable" when it can't be opened.
std::string ContentHash(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "unreadable";
    std::uint64_t hash = 14695981039346656037ULL;
    std::vector<unsigned char> buffer(1 << 16);
    DWORD read = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read; ++i) hash = (hash ^ buffer[i]) * 1099511628211ULL;
    }
    CloseHandle(file);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

void SnapshotBelow(const std::wstring& folder, std::vector<std::string>& lines) {
    WIN32_FIND_DATAW data{};
    const HANDLE found = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        const std::uint64_t written = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
        char facts[96];
        std::snprintf(facts, sizeof facts, " 0x%lx %llu %llu ", data.dwFileAttributes, static_cast<unsigned long long>(size),
                      static_cast<unsigned long long>(written));
        lines.push_back(Utf8(path) + facts + (isFolder ? std::string("folder") : ContentHash(path)));
        if (isFolder) SnapshotBelow(path, lines);
    } while (FindNextFileW(found, &data));
    FindClose(found);
}

int Snapshot(int count, wchar_t** folders) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::wstring folder = folders[i];
        while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
        SnapshotBelow(folder, lines);
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring command = argv[1];
    if (command == L"drives") return Drives();
    if (command == L"busy" && argc >= 3) {
        // Keeps one processor busy: the reference for the driver's processor meter.
        const ULONGLONG end = GetTickCount64() + wcstoul(argv[2], nullptr, 10);
        volatile unsigned long spins = 0;
        while (GetTickCount64() < end) spins = spins + 1;
        return 0;
    }
    if (argc < 3) return 2;
    const std::wstring path = argv[2];
    if (command == L"type") {
        std::printf("type %s %s\n", Utf8(path).c_str(), TypeName(GetDriveTypeW(path.c_str())));
        return 0;
    }
    if (command == L"attr") {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) std::printf("attr %s missing\n", Utf8(path).c_str());
        else std::printf("attr %s 0x%lx\n", Utf8(path).c_str(), attributes);
        return 0;
    }
    if (command == L"setattr") return SetAttributes(path, argc - 3, argv + 3);
    if (command == L"snapshot") return Snapshot(argc - 2, argv + 2);
    if (command == L"ctrlc" && argc >= 5) return SendCtrlC(path, Utf8(argv[3]), argv[4]);
    if (command == L"find") {
        WIN32_FIND_DATAW data{};
        HANDLE found = FindFirstFileW(path.c_str(), &data);
        if (found == INVALID_HANDLE_VALUE) {
            std::printf("find %s none\n", Utf8(path).c_str());
            return 0;
        }
        std::printf("find %s %s 0x%lx\n", Utf8(path).c_str(), Utf8(data.cFileName).c_str(), data.dwFileAttributes);
        FindClose(found);
        return 0;
    }
    return 2;
}
