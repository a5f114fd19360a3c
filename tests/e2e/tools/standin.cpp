// Stand-in for the two Windows boot tools in the end-to-end sandbox. The same
// program is copied as bcdboot.exe and bootsect.exe; it takes its role from
// its own file name. Each run appends its exact command line (UTF-8) to
// standin.log beside the executable, and reads its faults from standin.cfg
// beside the executable, one rule a line:
//   <tool> exit <code> [<text>]        end with this code
//   <tool> delay <ms> [<text>]         wait this long before doing anything
//   <tool> store none [<text>]         create no store
//   <tool> needfolder 1 [<text>]       fail with code 2 when the store's folder is missing
//   watch <path>                       log whether <path> exists at each run
// A rule with <text> applies only to command lines that contain that text.
// bcdboot creates <bp>\Boot\BCD, or <bp>\EFI\Microsoft\Boot\BCD with "/f uefi".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Utf.h"

namespace {

using e2etext::Utf8;
using e2etext::Wide;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

struct Rule {
    std::wstring tool;
    std::wstring setting;
    std::wstring value;
    std::wstring match;
};

struct Settings {
    DWORD exitCode = 0;
    DWORD delay = 0;
    bool makeStore = true;
    bool needFolder = false;
    std::vector<std::wstring> watched;
};

std::wstring ToolFolder() {
    std::vector<wchar_t> path(32768, L'\0');
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data());
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring ToolName() {
    std::vector<wchar_t> path(32768, L'\0');
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring name(path.data());
    name = Lower(name.substr(name.find_last_of(L'\\') + 1));
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::string ReadFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    CloseHandle(file);
    return text;
}

// Splits "<tool> <setting> <value> <match...>" at its first three blanks.
Rule ParseRule(const std::wstring& line) {
    Rule rule;
    std::wstring* parts[] = {&rule.tool, &rule.setting, &rule.value};
    std::size_t at = 0;
    for (std::wstring* part : parts) {
        const std::size_t blank = line.find(L' ', at);
        *part = line.substr(at, blank == std::wstring::npos ? std::wstring::npos : blank - at);
        if (blank == std::wstring::npos) return rule;
        at = blank + 1;
    }
    rule.match = line.substr(at);
    return rule;
}

Settings ReadSettings(const std::wstring& folder, const std::wstring& tool, const std::wstring& commandLine) {
    Settings settings;
    const std::wstring text = Wide(ReadFile(folder + L"\\standin.cfg"));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.rfind(L"watch ", 0) == 0) {
            settings.watched.push_back(line.substr(6));
            continue;
        }
        const Rule rule = ParseRule(line);
        if (rule.tool != tool) continue;
        if (!rule.match.empty() && commandLine.find(rule.match) == std::wstring::npos) continue;
        const DWORD number = wcstoul(rule.value.c_str(), nullptr, 10);
        if (rule.setting == L"exit") settings.exitCode = number;
        if (rule.setting == L"delay") settings.delay = number;
        if (rule.setting == L"store") settings.makeStore = rule.value != L"none";
        if (rule.setting == L"needfolder") settings.needFolder = number != 0;
    }
    return settings;
}

void AppendLog(const std::wstring& folder, const std::string& text) {
    HANDLE file = CreateFileW((folder + L"\\standin.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void CreateFolders(const std::wstring& folder) {
    for (std::size_t at = folder.find(L'\\', 3); ; at = folder.find(L'\\', at + 1)) {
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
        if (at == std::wstring::npos) return;
    }
}

// Writes the store; an existing store keeps its attributes, as the real tool
// rewrites a store in place.
bool WriteStore(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

DWORD Bcdboot(int argc, wchar_t** argv, const Settings& settings, const std::wstring& commandLine) {
    std::wstring bootPartition;
    bool uefi = false;
    for (int i = 2; i + 1 < argc; ++i) {
        const std::wstring option = Lower(argv[i]);
        if (option == L"/s") bootPartition = argv[i + 1];
        if (option == L"/f" && Lower(argv[i + 1]) == L"uefi") uefi = true;
    }
    if (argc < 2 || bootPartition.empty()) return 87;
    const std::wstring folder = bootPartition + (uefi ? L"\\EFI\\Microsoft\\Boot" : L"\\Boot");
    if (settings.needFolder && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return 2;
    if (!settings.makeStore) return settings.exitCode;
    CreateFolders(folder);
    if (!WriteStore(folder + L"\\BCD", "stand-in BCD store\r\n" + Utf8(commandLine) + "\r\n")) return 5;
    return settings.exitCode;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = ToolFolder();
    const std::wstring tool = ToolName();
    const std::wstring commandLine = GetCommandLineW();
    const Settings settings = ReadSettings(folder, tool, commandLine);
    std::string entry = Utf8(commandLine) + "\n";
    for (const std::wstring& path : settings.watched) {
        const bool present = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        entry += "  " + Utf8(path) + (present ? " present\n" : " absent\n");
    }
    AppendLog(folder, entry);
    if (settings.delay > 0) Sleep(settings.delay);
    if (tool == L"bcdboot") return static_cast<int>(Bcdboot(argc, argv, settings, commandLine));
    return static_cast<int>(settings.exitCode);
}
