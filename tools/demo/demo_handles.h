// Owners of the handles the demo driver holds beyond those unique_handle.h
// knows: the screen's device context, a memory device context, a bitmap, a
// registry key, and an object selected into a device context for a while.
#pragma once

#include "unique_handle.h"

#include <windows.h>

struct ScreenDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::ReleaseDC(nullptr, h); }
};
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;

struct MemoryDcTraits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct BitmapTraits {
    using pointer = HBITMAP;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DeleteObject(h); }
};
using UniqueBitmap = UniqueHandle<BitmapTraits>;

struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

// Selects a GDI object into a device context and puts the previous one back
// when it goes: a bitmap may be read or deleted only once nothing holds it.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
