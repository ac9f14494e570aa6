#include "framed_bitmap.h"

#include "image_resample.h"

#include <algorithm>

namespace {

bool IsFramedBitmap(HWND control) {
    char name[16] = {};
    ::GetClassNameA(control, name, sizeof name);
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    return ::lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP &&
           (style & SS_REALSIZECONTROL);
}

// The 32-bit top-down DIB layout that GetDIBits fills and the resampler takes.
BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool ReadPixels(HBITMAP bitmap, setupcore::Picture& picture) {
    BITMAP facts = {};
    if (!::GetObjectA(bitmap, sizeof facts, &facts) || facts.bmWidth <= 0 || facts.bmHeight <= 0)
        return false;
    picture.width = facts.bmWidth;
    picture.height = facts.bmHeight;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &info,
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == picture.height;
}

// A bitmap of the picture, of 24 bits a pixel: with an alpha channel, the
// common controls would show a copy of their own instead.
UniqueBitmap MakeBitmap(const setupcore::Picture& picture) {
    BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    auto* row = static_cast<uint8_t*>(bits);
    const uint8_t* in = picture.pixels.data();
    for (int y = 0; y < picture.height; ++y, row += stride)
        for (int x = 0; x < picture.width; ++x, in += 4)
            std::copy(in, in + 3, row + x * 3);
    return bitmap;
}

void FitToFrame(HWND control, std::vector<UniqueBitmap>& owned) {
    RECT frame;
    ::GetClientRect(control, &frame);
    auto shown = reinterpret_cast<HBITMAP>(::SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    setupcore::Picture picture;
    if (!shown || frame.right <= 0 || frame.bottom <= 0 || !ReadPixels(shown, picture))
        return;
    UniqueBitmap bitmap = MakeBitmap(setupcore::CoverByArea(picture, frame.right, frame.bottom));
    if (!bitmap)
        return;
    // From now on the control deletes neither image: both are ours.
    owned.emplace_back(reinterpret_cast<HBITMAP>(::SendMessageA(
        control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()))));
    owned.push_back(std::move(bitmap));
}

} // namespace

void FitFramedBitmaps(HWND dialog, std::vector<UniqueBitmap>& owned) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (IsFramedBitmap(child))
            FitToFrame(child, owned);
}
