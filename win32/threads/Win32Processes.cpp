#include "win32/threads/Win32Processes.h"

#include <windows.h>

#include <array>
#include <utility>

#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"
#include "win32/base/Win32Error.h"

namespace orvanta::win32 {
namespace {

// More than any boot tool writes; the rest is left unread.
constexpr DWORD MostOutputKept = 1 << 20;

// An inheritable handle for a child's standard stream: a temporary file that
// goes when the last handle to it closes. Both share the file position, so
// the parent reads it from the start once the child has ended. A file, not a
// pipe: the child never blocks on a full pipe and the wait needs no reader.
UniqueHandle CreateOutputFile() {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"orv", 0, name) == 0) return {};
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    return UniqueHandle(CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

// Where the output goes when no temporary file can be made: nowhere.
UniqueHandle NullDevice(DWORD access) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    return UniqueHandle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                                    0, nullptr));
}

bool Rewind(HANDLE file) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != FALSE;
}

// Made empty for the next tool; the same file serves every tool of the run.
bool Empty(HANDLE file) {
    return Rewind(file) && SetEndOfFile(file) != FALSE;
}

std::string ReadFromStart(HANDLE file) {
    if (GetFileType(file) != FILE_TYPE_DISK || !Rewind(file)) return {};
    std::string bytes;
    std::array<char, 4096> chunk{};
    DWORD got = 0;
    while (bytes.size() < MostOutputKept && ReadFile(file, chunk.data(), chunk.size(), &got, nullptr) != FALSE &&
           got > 0) {
        bytes.append(chunk.data(), got);
    }
    return bytes;
}

// The attribute list that limits what a child inherits to its three streams.
class InheritedHandles {
public:
    explicit InheritedHandles(std::array<HANDLE, 3> handles) : handles_(handles) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        ready_ = InitializeProcThreadAttributeList(list_, 1, 0, &size) != FALSE &&
                 UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                           sizeof(HANDLE) * handles_.size(), nullptr, nullptr) != FALSE;
    }
    ~InheritedHandles() {
        if (ready_) DeleteProcThreadAttributeList(list_);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return ready_ ? list_ : nullptr; }

private:
    std::array<HANDLE, 3> handles_;
    std::string storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
    bool ready_ = false;
};

class Win32StartedProcess final : public StartedProcess {
public:
    // The output files are the starter's; they outlive the process object, and
    // so does the wake event (nullptr: none).
    Win32StartedProcess(UniqueHandle process, HANDLE output, HANDLE error, HANDLE wakeEvent)
        : process_(std::move(process)), output_(output), error_(error), wakeEvent_(wakeEvent) {}

    WakeReason waitForExitOrEvents() override {
        const std::array<HANDLE, 2> handles{process_.get(), wakeEvent_};
        const DWORD count = wakeEvent_ != nullptr ? 2 : 1;
        // Sleeps until the process ends, the wake event is set, or any input or
        // message is queued for this thread, including input seen but not yet
        // removed. The process comes first: once it has ended, that is the answer.
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // A failed wait can't be repeated usefully; the process is treated as ended.
        const bool events = woken > WAIT_OBJECT_0 && woken <= WAIT_OBJECT_0 + count;
        return events ? WakeReason::EventsPending : WakeReason::ProcessEnded;
    }

    std::uint32_t exitCode() override {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

    // TerminateProcess only starts the end: the process holds its files until it is gone.
    void terminate(std::uint32_t exitCode) override { TerminateProcess(process_.get(), exitCode); }

    bool waitForExit(std::uint32_t milliseconds) override {
        return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
    }

    CapturedOutput output() override { return {ReadFromStart(output_), ReadFromStart(error_)}; }

private:
    UniqueHandle process_;
    HANDLE output_;
    HANDLE error_;
    HANDLE wakeEvent_;
};

} // namespace

std::unique_ptr<StartedProcess> Win32Processes::start(const std::string& commandLine,
                                                      const std::string& workingFolder) {
    const HANDLE output = OutputFile(output_);
    const HANDLE error = OutputFile(error_);
    const InheritedHandles inherited({input_.get(), output, error});

    std::wstring line = Widen(commandLine); // CreateProcessW may write into its command line
    const std::wstring folder = Widen(workingFolder);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = input_.get();
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = error;
    startup.lpAttributeList = inherited.list();
    // Without the list no handle is inherited at all rather than every inheritable one.
    // No console at all: the output goes to the files, and neither the user's
    // console (Ctrl+C, its closing) nor a console window of its own can reach
    // the tool while it writes a store.
    const BOOL inherit = inherited.list() != nullptr ? TRUE : FALSE;
    const DWORD flags = CREATE_NO_WINDOW | (inherit != FALSE ? EXTENDED_STARTUPINFO_PRESENT : 0);
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, inherit, flags, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &started) == FALSE) {
        throw LastError();
    }
    UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread); // its handle is not needed
    return std::make_unique<Win32StartedProcess>(std::move(process), output, error, wakeEvent_);
}

Win32Processes::Win32Processes() : input_(NullDevice(GENERIC_READ)) {}

// The file made the first time, emptied for each later tool; the null device
// when no temporary file can be made (the output is then lost, not the run).
HANDLE Win32Processes::OutputFile(UniqueHandle& file) {
    if (!file.valid() || !Empty(file.get())) file = CreateOutputFile();
    if (!file.valid()) file = NullDevice(GENERIC_WRITE);
    return file.get();
}

} // namespace orvanta::win32
