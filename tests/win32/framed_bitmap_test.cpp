// The wizard bitmap fitted to its frame on the pages, whatever the display
// scale: the framework resamples a bitmap whose control keeps its frame's size
// (SS_REALSIZECONTROL) to exactly that size, and leaves other bitmaps alone.
#include "framed_bitmap.h"
#include "image_resample.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

// A hidden top-level window for the pages and controls made here.
UniqueWindow MakeParent() {
    return UniqueWindow(::CreateWindowA("Static", "parent", WS_OVERLAPPED, 0, 0, 600, 500, nullptr,
                                        nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

HWND FirstBitmapControl(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return child;
    return nullptr;
}

HBITMAP Shown(HWND control) {
    return reinterpret_cast<HBITMAP>(::SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

BITMAP Facts(HBITMAP bitmap) {
    BITMAP facts = {};
    ::GetObjectA(bitmap, sizeof facts, &facts);
    return facts;
}

// The pixels of a bitmap, as the framework reads them for resampling: 32 bits
// each (the fourth byte 0), rows top-down.
setupcore::Picture Pixels(HBITMAP bitmap) {
    const BITMAP facts = Facts(bitmap);
    setupcore::Picture picture{facts.bmWidth, facts.bmHeight, {}};
    picture.pixels.resize(static_cast<size_t>(facts.bmWidth) * facts.bmHeight * 4);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = facts.bmWidth;
    info.bmiHeader.biHeight = -facts.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, facts.bmHeight, picture.pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

} // namespace

TEST(FramedBitmapTest, FitsTheWizardBitmapOfEachPageToItsFrame) {
    const UniqueWindow parent = MakeParent();
    for (const auto& [name, templateId] :
         {std::pair<const char*, UINT>{"Install Directory", IDD_INSTALL_DIR},
          {"Group", IDD_GROUP}}) {
        SCOPED_TRACE(name);
        const UniqueWindow page(::CreateDialogParamA(::GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(templateId), parent.get(),
                                                     PlainDialogProc, 0));
        ASSERT_TRUE(page);
        HWND control = FirstBitmapControl(page.get());
        ASSERT_NE(control, nullptr);
        const HBITMAP original = Shown(control);
        const setupcore::Picture originalPixels = Pixels(original);
        RECT frame;
        ::GetClientRect(control, &frame);
        // The control keeps its frame, which is not the resource's size.
        ASSERT_NE(Facts(original).bmWidth, frame.right);

        std::vector<UniqueBitmap> owned;
        FitFramedBitmaps(page.get(), owned);

        const BITMAP fitted = Facts(Shown(control));
        EXPECT_EQ(fitted.bmWidth, frame.right);
        EXPECT_EQ(fitted.bmHeight, frame.bottom);
        EXPECT_EQ(fitted.bmBitsPixel, 24) << "with an alpha channel the control shows a copy";
        // The picture itself, resampled as the core does it, channels and rows in place.
        EXPECT_TRUE(Pixels(Shown(control)).pixels ==
                    setupcore::CoverByArea(originalPixels, frame.right, frame.bottom).pixels);
        // Both the fitted bitmap and the one it replaced are the caller's now.
        EXPECT_EQ(owned.size(), 2u);
    }
}

TEST(FramedBitmapTest, LeavesBitmapsThatSizeTheirControlAlone) {
    const UniqueWindow parent = MakeParent();
    const UniqueBitmap bitmap(static_cast<HBITMAP>(::LoadImageA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_WIZARD), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_TRUE(bitmap);
    // Made after the bitmap, so that it goes before it.
    const UniqueWindow control(::CreateWindowA("Static", "", WS_CHILD | SS_BITMAP, 0, 0, 300, 300,
                                               parent.get(), nullptr, ::GetModuleHandleA(nullptr),
                                               nullptr));
    ASSERT_TRUE(control);
    ::SendMessageA(control.get(), STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(bitmap.get()));

    std::vector<UniqueBitmap> owned;
    FitFramedBitmaps(parent.get(), owned);

    EXPECT_EQ(Shown(control.get()), bitmap.get());
    EXPECT_TRUE(owned.empty());
}
