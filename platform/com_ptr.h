// COM owners: one scope object pairs CoInitialize with CoUninitialize, and one
// move-only pointer releases each interface it was handed. Nothing else in the
// program calls Release or CoUninitialize.
#pragma once

#include <objbase.h>

// COM on the calling thread for the life of the object. A thread already in
// the same apartment is initialised once more, and uninitialised once more.
class ComInitScope {
public:
    ComInitScope() noexcept : result_(::CoInitialize(nullptr)) {}
    ~ComInitScope() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComInitScope(const ComInitScope&) = delete;
    ComInitScope& operator=(const ComInitScope&) = delete;

    explicit operator bool() const noexcept { return SUCCEEDED(result_); }
    HRESULT Result() const noexcept { return result_; }

private:
    HRESULT result_;
};

template <class Interface> class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    Interface* get() const noexcept { return p_; }
    Interface* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // The out parameter of a call that hands over a reference; drops the one held.
    Interface** put() noexcept {
        reset();
        return &p_;
    }
    // The same, typed for the calls that take an interface id (QueryInterface,
    // CoCreateInstance, BindToObject).
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (Interface* p = p_) {
            p_ = nullptr;
            p->Release();
        }
    }

private:
    Interface* p_ = nullptr;
};
