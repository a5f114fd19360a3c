#pragma once
// Small owners of Win32 handles and memory: each releases what it holds exactly
// once, when it goes out of scope.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace orvanta::win32 {

// A handle released by `Close`. Both NULL and INVALID_HANDLE_VALUE count as empty.
template <typename Handle, BOOL(WINAPI* Close)(Handle)>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool valid() const { return handle_ != Handle{} && handle_ != invalidValue(); }
    Handle get() const { return handle_; }
    void reset(Handle handle = Handle{}) {
        if (valid()) Close(handle_);
        handle_ = handle;
    }

private:
    static Handle invalidValue() { return reinterpret_cast<Handle>(INVALID_HANDLE_VALUE); }
    Handle handle_{};
};

inline BOOL WINAPI DeleteFontObject(HFONT font) {
    return DeleteObject(font);
}

using UniqueHandle = ScopedHandle<HANDLE, &CloseHandle>;
using FindHandle = ScopedHandle<HANDLE, &FindClose>;
using FontHandle = ScopedHandle<HFONT, &DeleteFontObject>;
using IconHandle = ScopedHandle<HICON, &DestroyIcon>;

// Memory handed out by the shell or COM, released with CoTaskMemFree.
class TaskMemory {
public:
    explicit TaskMemory(void* memory) : memory_(memory) {}
    ~TaskMemory() { CoTaskMemFree(memory_); }
    TaskMemory(const TaskMemory&) = delete;
    TaskMemory& operator=(const TaskMemory&) = delete;

private:
    void* memory_;
};

// A block of pages from VirtualAlloc, released with VirtualFree.
class VirtualBlock {
public:
    VirtualBlock(SIZE_T size, DWORD protection)
        : memory_(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, protection)) {}
    ~VirtualBlock() {
        if (memory_ != nullptr) VirtualFree(memory_, 0, MEM_RELEASE);
    }
    VirtualBlock(const VirtualBlock&) = delete;
    VirtualBlock& operator=(const VirtualBlock&) = delete;
    void* get() const { return memory_; }

private:
    void* memory_;
};

// COM initialised as a single-threaded apartment for the life of the owner.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

} // namespace orvanta::win32
