// One owner per Windows handle: a move-only holder whose traits know only the
// invalid value and how to close. Nothing else in the program closes handles.
#pragma once

#include <windows.h>

template <class Traits> class UniqueHandle {
public:
    using pointer = typename Traits::pointer;
    explicit UniqueHandle(pointer h = Traits::invalid()) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    pointer get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
    pointer release() noexcept {
        pointer h = h_;
        h_ = Traits::invalid();
        return h;
    }
    // Closing keeps the thread's last error, so a failure read after the
    // owner let go still tells why the call before it failed.
    void reset(pointer h = Traits::invalid()) noexcept {
        if (h_ != Traits::invalid()) {
            const DWORD error = ::GetLastError();
            Traits::close(h_);
            ::SetLastError(error);
        }
        h_ = h;
    }

private:
    pointer h_;
};

struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// Process and thread handles use null, not INVALID_HANDLE_VALUE, for "none".
struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::FindClose(h); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

struct FontHandleTraits {
    using pointer = HFONT;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = UniqueHandle<FontHandleTraits>;

// A window this program created without a modal loop: destroyed with its owner.
struct WindowHandleTraits {
    using pointer = HWND;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowHandleTraits>;
