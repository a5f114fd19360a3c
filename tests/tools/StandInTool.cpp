// Stand-in for the two Windows boot tools, for the end-to-end suite
// (tests/e2e) and the benchmarks (tests/bench). The same program is copied as
// bcdboot.exe and bootsect.exe and takes its role from its own file name
// (lower case, without extension). It touches no real boot record or store.
//
// Home: the folder in the environment variable STANDIN_HOME when it is set,
// else the executable's own folder; copies in several folders then share one
// standin.cfg and one standin.log.
//
// A run, in this order:
//   1. reads the shared wall clock (../bench/win/BenchClock.h) first thing;
//   2. appends its exact command line (GetCommandLineW, UTF-8; it starts
//      with the executable's path) and one line per watch rule to
//      <home>\standin.log;
//   3. waits for the delay, and for the file a waitfor rule names;
//   4. as bcdboot with "/?" alone: writes its usage text to standard output,
//      naming /bootex unless a "bootex 0" rule says otherwise, and ends with 0;
//      as bcdboot otherwise: creates <bp>\Boot\BCD, or <bp>\EFI\Microsoft\Boot\BCD with
//      "/f uefi", for "/s <bp>" (no /s: code 87; the store not written: 5):
//      a copy of the hive a "hive" rule names, else a placeholder; then
//      copies the files "copy" rules name onto the boot partition;
//   5. writes the print rules' messages, in file order;
//   6. reads the clock again and appends "<tool> <start ns> <end ns>" to the
//      stamps file, if there is one; ends with the exit code.
//
// <home>\standin-stores.cfg, then <home>\standin.cfg (UTF-8), one rule a
// line (the end-to-end harness writes the first with the stores the real
// tool would leave, a scenario the second); <tool> is bcdboot or bootsect,
// and lines of no known form are ignored. <text> limits a rule to command
// lines that contain it (exact case); without it the rule applies to every
// run of that tool. Where rules set the same thing (the exit code, the delay,
// whether a store is made), the last one that applies wins.
//   <tool> exit <code> [<text>]        end with this code
//   <tool> delay <ms> [<text>]         wait this long after logging
//   <tool> waitfor <path> [<text>]     then wait until the file <path> (a Windows path
//                                      without blanks) exists, at most 60 s: a run the
//                                      test holds until it lets it go
//   <tool> store none [<text>]         create no store
//   <tool> needfolder 1 [<text>]       end with code 2 when the store's folder is missing
//   bcdboot hive <path> [<text>]       the store is a copy of the file <path> (a Windows
//                                      path without blanks), a hive prepared for the run
//   bcdboot garbage 1 [<text>]         the store is bytes that are no hive
//   bcdboot bootex 0                   a usage text without /bootex, as an older
//                                      bcdboot shows it
//   bcdboot copy <source> <target> [<text>]
//                                      after the store, copy the file <source> (a Windows
//                                      path without blanks) to <bp><target> (a path below
//                                      the boot partition, starting with \, no blanks),
//                                      making its folders: a boot manager file the real
//                                      tool would leave
//   <tool> exitfrom <code> <folder>    only for a copy whose own path lies in
//                                      <folder> (case-insensitive prefix of its
//                                      module path; <folder> may hold blanks):
//                                      end with this code and create no store
//   <tool> print <encoding>:<stream> [<text>] | <message>
//                                      write <message> to <stream> (out or err)
//                                      as <encoding>: gbk (code page 936),
//                                      utf16 (UTF-16LE; a byte-order mark before
//                                      the first UTF-16 text on that stream) or
//                                      utf8. The message is everything after the
//                                      first "|" and one blank; in it \n, \r,
//                                      \t and \\ stand for a line feed, carriage
//                                      return, tab and backslash. No line end is
//                                      added.
//   watch <path>                       log "  <path> present" or "  <path> absent" at each run
//   stamps <path>                      append "<tool> <start ns> <end ns>" to the file
//                                      <path> (a full Windows path) at each run
// Example:
//   bcdboot print gbk:err /f uefi | 无法复制引导文件。\r\n第二行\r\n
//   bcdboot exitfrom 5 F:\Kit\Bin
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "../bench/win/BenchClock.h"
#include "../e2e/tools/Utf.h"

namespace {

using e2etext::Narrow;
using e2etext::Utf8;
using e2etext::Wide;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

std::wstring ModulePath() {
    std::vector<wchar_t> path(32768, L'\0');
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return path.data();
}

std::wstring ToolName(const std::wstring& modulePath) {
    std::wstring name = Lower(modulePath.substr(modulePath.find_last_of(L'\\') + 1));
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring Home(const std::wstring& modulePath) {
    std::vector<wchar_t> value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"STANDIN_HOME", value.data(), static_cast<DWORD>(value.size()));
    std::wstring home = length > 0 && length < value.size() ? std::wstring(value.data()) : L"";
    if (home.empty()) home = modulePath.substr(0, modulePath.find_last_of(L'\\'));
    while (!home.empty() && home.back() == L'\\') home.pop_back();
    return home;
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

void AppendFile(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// \n, \r, \t and \\ in a print rule's message; any other backslash stays.
std::wstring Unescape(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
        if (text[i] == L'\\' && (next == L'n' || next == L'r' || next == L't' || next == L'\\')) {
            out += next == L'n' ? L'\n' : next == L'r' ? L'\r' : next == L't' ? L'\t' : L'\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Message {
    std::wstring encoding;  // gbk, utf16 or utf8
    bool toError = false;
    std::wstring text;
};

struct Settings {
    DWORD exitCode = 0;
    DWORD delay = 0;
    std::wstring waitFor; // a file whose appearance lets the run go on
    bool makeStore = true;
    bool needFolder = false;
    std::wstring hive;   // the file to copy as the store
    bool garbage = false;
    bool bootex = true;  // the usage text names /bootex
    std::vector<std::pair<std::wstring, std::wstring>> copies; // source, target below the boot partition
    std::vector<std::wstring> watched;
    std::vector<Message> messages;
    std::wstring stampsPath;
};

struct Rule {
    std::wstring tool;
    std::wstring setting;
    std::wstring value;
    std::wstring rest;  // the <text>, or what follows the value
};

// Splits "<tool> <setting> <value> <rest...>" at its first three blanks.
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
    rule.rest = line.substr(at);
    return rule;
}

bool Contains(const std::wstring& commandLine, const std::wstring& text) {
    return text.empty() || commandLine.find(text) != std::wstring::npos;
}

// "<encoding>:<stream> [<text>] | <message>"
void AddMessage(Settings& settings, const Rule& rule, const std::wstring& commandLine) {
    const std::size_t colon = rule.value.find(L':');
    const std::size_t bar = rule.rest.find(L'|');
    if (colon == std::wstring::npos || bar == std::wstring::npos) return;
    Message message;
    message.encoding = rule.value.substr(0, colon);
    const std::wstring stream = rule.value.substr(colon + 1);
    if (message.encoding != L"gbk" && message.encoding != L"utf16" && message.encoding != L"utf8") return;
    if (stream != L"out" && stream != L"err") return;
    message.toError = stream == L"err";
    std::wstring match = rule.rest.substr(0, bar);
    while (!match.empty() && match.back() == L' ') match.pop_back();
    if (!Contains(commandLine, match)) return;
    std::wstring text = rule.rest.substr(bar + 1);
    if (!text.empty() && text.front() == L' ') text.erase(0, 1);
    message.text = Unescape(text);
    settings.messages.push_back(message);
}

// True when the module path lies in the folder, compared without case.
bool LiesIn(const std::wstring& modulePath, std::wstring folder) {
    if (folder.empty()) return false;
    if (folder.back() != L'\\') folder += L'\\';
    return Lower(modulePath).rfind(Lower(folder), 0) == 0;
}

// "copy <source> <target> [<text>]": the target is the rest's first word.
void AddCopy(Settings& settings, const Rule& rule, const std::wstring& commandLine) {
    const std::size_t blank = rule.rest.find(L' ');
    const std::wstring target = rule.rest.substr(0, blank);
    const std::wstring match = blank == std::wstring::npos ? L"" : rule.rest.substr(blank + 1);
    if (!target.empty() && Contains(commandLine, match)) settings.copies.emplace_back(rule.value, target);
}

Settings ReadSettings(const std::wstring& home, const std::wstring& tool, const std::wstring& modulePath,
                      const std::wstring& commandLine) {
    Settings settings;
    std::string bytes;
    for (const wchar_t* name : {L"\\standin-stores.cfg", L"\\standin.cfg"}) {
        std::string file = ReadFile(home + name);
        if (file.rfind("\xEF\xBB\xBF", 0) == 0) file.erase(0, 3);
        bytes += file + "\n";
    }
    const std::wstring text = Wide(bytes);
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
        if (line.rfind(L"stamps ", 0) == 0) {
            settings.stampsPath = line.substr(7);
            continue;
        }
        const Rule rule = ParseRule(line);
        if (rule.tool != tool) continue;
        if (rule.setting == L"print") {
            AddMessage(settings, rule, commandLine);
            continue;
        }
        const DWORD number = wcstoul(rule.value.c_str(), nullptr, 10);
        if (rule.setting == L"exitfrom") {
            if (LiesIn(modulePath, rule.rest)) {
                settings.exitCode = number;
                settings.makeStore = false;
            }
            continue;
        }
        if (rule.setting == L"copy") {
            AddCopy(settings, rule, commandLine);
            continue;
        }
        if (!Contains(commandLine, rule.rest)) continue;
        if (rule.setting == L"exit") settings.exitCode = number;
        if (rule.setting == L"delay") settings.delay = number;
        if (rule.setting == L"waitfor") settings.waitFor = rule.value;
        if (rule.setting == L"store") settings.makeStore = rule.value != L"none";
        if (rule.setting == L"needfolder") settings.needFolder = number != 0;
        if (rule.setting == L"hive") settings.hive = rule.value;
        if (rule.setting == L"garbage") settings.garbage = number != 0;
        if (rule.setting == L"bootex") settings.bootex = number != 0;
    }
    return settings;
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

// What "bcdboot /?" shows, in short: the options the program looks for.
std::string UsageText(bool bootex) {
    std::string text = "BCDBOOT - Bcdboot File Creation and Update Tool.\r\n\r\n"
                       "bcdboot <source> [/l <locale>] [/s <volume-letter> [/f <firmware>]] [/v] [/m [{OS Loader ID}]]\r\n"
                       "        [/addlast] [/p] [/d] [/c]";
    if (bootex) text += " [/bootex]";
    text += "\r\n\r\n  /f        Specifies the firmware type: UEFI, BIOS or ALL.\r\n";
    if (bootex) text += "  /bootex   Uses the boot files signed by the Windows UEFI CA 2023 (\\Windows\\Boot\\EFI_EX).\r\n";
    return text;
}

DWORD Bcdboot(int argc, wchar_t** argv, const Settings& settings, const std::wstring& commandLine) {
    if (argc == 2 && std::wstring(argv[1]) == L"/?") {
        const std::string usage = UsageText(settings.bootex);
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), usage.data(), static_cast<DWORD>(usage.size()), &written, nullptr);
        return 0;
    }
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
    std::string content = "stand-in BCD store\r\n" + Utf8(commandLine) + "\r\n";
    if (!settings.hive.empty()) content = ReadFile(settings.hive);
    if (settings.garbage) content = "stand-in garbage, no hive\r\n";
    if (!WriteStore(folder + L"\\BCD", content)) return 5;
    for (const auto& [source, target] : settings.copies) {
        const std::wstring path = bootPartition + target;
        CreateFolders(path.substr(0, path.find_last_of(L'\\')));
        if (!WriteStore(path, ReadFile(source))) return 5;
    }
    return settings.exitCode;
}

void Print(const std::vector<Message>& messages) {
    bool marked[2] = {false, false};
    for (const Message& message : messages) {
        std::string bytes;
        if (message.encoding == L"gbk") bytes = Narrow(message.text, 936);
        if (message.encoding == L"utf8") bytes = Utf8(message.text);
        if (message.encoding == L"utf16") {
            if (!marked[message.toError]) bytes = "\xFF\xFE";
            marked[message.toError] = true;
            for (const wchar_t c : message.text) {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>((c >> 8) & 0xFF);
            }
        }
        HANDLE stream = GetStdHandle(message.toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
        DWORD written = 0;
        if (stream && stream != INVALID_HANDLE_VALUE && !bytes.empty())
            WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const unsigned long long startNs = benchWallClockNs();
    const std::wstring modulePath = ModulePath();
    const std::wstring home = Home(modulePath);
    const std::wstring tool = ToolName(modulePath);
    const std::wstring commandLine = GetCommandLineW();
    const Settings settings = ReadSettings(home, tool, modulePath, commandLine);
    std::string entry = Utf8(commandLine) + "\n";
    for (const std::wstring& path : settings.watched) {
        const bool present = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        entry += "  " + Utf8(path) + (present ? " present\n" : " absent\n");
    }
    AppendFile(home + L"\\standin.log", entry);
    if (settings.delay > 0) Sleep(settings.delay);
    // A look every 100 ms: a test tool, held only while its test needs it.
    for (int look = 0; !settings.waitFor.empty() && look < 600; ++look) {
        if (GetFileAttributesW(settings.waitFor.c_str()) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(100);
    }
    const DWORD code = tool == L"bcdboot" ? Bcdboot(argc, argv, settings, commandLine) : settings.exitCode;
    Print(settings.messages);
    if (!settings.stampsPath.empty()) {
        const unsigned long long endNs = benchWallClockNs();
        AppendFile(settings.stampsPath, Utf8(tool) + " " + std::to_string(startNs) + " " + std::to_string(endNs) + "\n");
    }
    return static_cast<int>(code);
}
