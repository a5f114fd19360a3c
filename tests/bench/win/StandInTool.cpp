// Stand-in for the boot tools, used by the benchmarks only. Copied as
// bcdboot.exe and bootsect.exe. It stamps the shared wall clock first thing,
// creates the store that a bcdboot command line asks for, sleeps for a set
// time (as a real tool would be busy), stamps again just before it exits and
// appends "<name> <start ns> <end ns>" to a log.
//   BENCH_TOOL_LOG      log file (a Windows path); no log when unset
//   BENCH_TOOL_MS       how long bcdboot.exe takes, in ms (default 10000)
//   BENCH_BOOTSECT_MS   how long bootsect.exe takes, in ms (default 0)
#include "BenchClock.h"

#include <cstdio>
#include <cwchar>

namespace {

unsigned long envNumber(const wchar_t* name, unsigned long fallback) {
    wchar_t value[32];
    const DWORD length = GetEnvironmentVariableW(name, value, 32);
    if (length == 0 || length >= 32) return fallback;
    return std::wcstoul(value, nullptr, 10);
}

bool isBcdboot() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\');
    return _wcsicmp(name ? name + 1 : path, L"bcdboot.exe") == 0;
}

// The boot partition: the word after " /s ".
bool bootPartition(const wchar_t* commandLine, wchar_t* partition, size_t size) {
    const wchar_t* at = std::wcsstr(commandLine, L" /s ");
    if (!at) return false;
    at += 4;
    size_t n = 0;
    while (at[n] && at[n] != L' ' && n + 1 < size) { partition[n] = at[n]; ++n; }
    partition[n] = 0;
    return n > 0;
}

// Creates every folder of the path and then the file itself.
void createStore(const wchar_t* partition, const wchar_t* suffix) {
    wchar_t path[MAX_PATH];
    std::swprintf(path, MAX_PATH, L"%ls%ls", partition, suffix);
    for (wchar_t* slash = std::wcschr(path + 3, L'\\'); slash; slash = std::wcschr(slash + 1, L'\\')) {
        *slash = 0;
        CreateDirectoryW(path, nullptr);
        *slash = L'\\';
    }
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void appendLog(const char* name, unsigned long long start, unsigned long long end) {
    wchar_t logPath[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"BENCH_TOOL_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    char line[96];
    const int n = std::snprintf(line, sizeof line, "%s %llu %llu\n", name, start, end);
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(log);
}

} // namespace

int wmain() {
    const unsigned long long start = benchWallClockNs();
    const wchar_t* commandLine = GetCommandLineW();
    const bool bcdboot = isBcdboot();
    if (bcdboot) {
        wchar_t partition[64];
        if (bootPartition(commandLine, partition, 64)) {
            const bool uefi = std::wcsstr(commandLine, L" /f uefi") != nullptr;
            createStore(partition, uefi ? L"\\EFI\\Microsoft\\Boot\\bcd" : L"\\boot\\bcd");
        }
    }
    Sleep(bcdboot ? envNumber(L"BENCH_TOOL_MS", 10000) : envNumber(L"BENCH_BOOTSECT_MS", 0));
    appendLog(bcdboot ? "bcdboot" : "bootsect", start, benchWallClockNs());
    return 0;
}
