// Owners of the handles the demo driver holds beyond those unique_handle.h
// knows: the screen's device context, and an object selected into a device
// context for a while.
#pragma once

#include "unique_handle.h"

#include <windows.h>

// The screen's device context goes back to the system, not to a window.
inline int ReleaseScreenDc(HDC dc) {
    return ::ReleaseDC(nullptr, dc);
}
using UniqueScreenDc = UniqueHandle<NullHandleTraits<HDC, ReleaseScreenDc>>;

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
