#include "screenshot.h"

#include "demo_handles.h"
#include "window_driver.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

// Wine paints a window into its own surface and hands that to X a moment later.
constexpr DWORD kPaintMilliseconds = 400;

// The window's rectangle, cut to the screen; empty when none of it shows.
RECT VisibleRect(HWND window) {
    RECT windowRect = {};
    ::GetWindowRect(window, &windowRect);
    const RECT screen = {
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
        ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT visible = {};
    ::IntersectRect(&visible, &windowRect, &screen);
    return visible;
}

// The screen's pixels inside `rect`, bottom row first, as a 24-bit DIB wants them.
bool CopyScreen(const RECT& rect, BITMAPINFOHEADER& header, std::vector<BYTE>& pixels) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    UniqueScreenDc screen(::GetDC(nullptr));
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!screen || !memory || !bitmap)
        return false;
    {
        SelectedObject selected(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top,
                      SRCCOPY | CAPTUREBLT))
            return false;
    }
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    pixels.assign(stride * static_cast<size_t>(height), 0);
    return ::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                       reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
}

bool WriteBmp(const std::string& path, const BITMAPINFOHEADER& header,
              const std::vector<BYTE>& pixels) {
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(pixels.data()),
              static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

std::string Slug(const std::string& text) {
    std::string slug;
    for (unsigned char c : text) {
        if (std::isalnum(c))
            slug += static_cast<char>(std::tolower(c));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "window" : slug;
}

} // namespace

bool SaveWindowImage(HWND window, const std::string& path) {
    // On top, so that the screen shows all of it; on a display of its own
    // nothing else would cover it, on the user's display anything might.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window);
    ::Sleep(windowdriver::Allowing(kPaintMilliseconds));
    const RECT rect = VisibleRect(window);
    if (::IsRectEmpty(&rect))
        return false;
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    return CopyScreen(rect, header, pixels) && WriteBmp(path, header, pixels);
}

std::string Screenshots::Take(HWND window, const std::string& what) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", ++taken_);
    const std::string name = number + Slug(what);
    return SaveWindowImage(window, directory_ + "\\" + name + ".bmp") ? name : std::string();
}
