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

// The traits of most handles: which value means "none" and which call closes.
template <class Pointer, auto Close> struct NullHandleTraits {
    using pointer = Pointer;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { Close(h); }
};
// Files and searches use INVALID_HANDLE_VALUE, not null, for "none".
template <auto Close> struct InvalidValueHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { Close(h); }
};

using UniqueFileHandle = UniqueHandle<InvalidValueHandleTraits<::CloseHandle>>;
using UniqueFind = UniqueHandle<InvalidValueHandleTraits<::FindClose>>;
// Process and thread handles.
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, ::CloseHandle>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, ::DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, ::DeleteObject>>;
using UniqueMemoryDc = UniqueHandle<NullHandleTraits<HDC, ::DeleteDC>>;
// A window this program created without a modal loop: destroyed with its owner.
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, ::DestroyWindow>>;
