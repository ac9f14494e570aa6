// The real installation-problem dialog, driven from a second thread as a user
// would: it is centred, its headline is bold, and OK or Cancel end it.
#include "install_problem_dlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Seen {
    std::atomic<bool> bold{false};
    std::atomic<bool> centred{false};
};

HWND WaitForDialog(const char* caption) {
    for (int i = 0; i < 200; ++i) {
        HWND window = ::FindWindowA("#32770", caption);
        if (window && ::IsWindowVisible(window))
            return window;
        ::Sleep(25);
    }
    return nullptr;
}

void Inspect(HWND dialog, Seen& seen) {
    LOGFONTA font = {};
    HFONT headline =
        reinterpret_cast<HFONT>(::SendDlgItemMessageA(dialog, IDC_PROBLEM_TITLE, WM_GETFONT, 0, 0));
    if (headline && ::GetObjectA(headline, sizeof font, &font))
        seen.bold = font.lfWeight == FW_BOLD;
    RECT box, screen;
    ::GetWindowRect(dialog, &box);
    ::GetWindowRect(::GetDesktopWindow(), &screen);
    int offCentre = (box.left + box.right) / 2 - (screen.left + screen.right) / 2;
    seen.centred = offCentre >= -2 && offCentre <= 2;
}

INT_PTR RunAndPress(int button, Seen& seen) {
    std::thread user([&] {
        HWND dialog = WaitForDialog("Brisa Setup");
        if (!dialog)
            return;
        Inspect(dialog, seen);
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    });
    CInstallProblemDlg dialog;
    INT_PTR result = dialog.DoModal();
    user.join();
    return result;
}

} // namespace

TEST(CInstallProblemDlg, ShowsABoldHeadlineCentredAndEndsWithTheButtonPressed) {
    Seen seen;
    EXPECT_EQ(RunAndPress(IDOK, seen), IDOK);
    EXPECT_TRUE(seen.bold);
    EXPECT_TRUE(seen.centred);
    EXPECT_EQ(RunAndPress(IDCANCEL, seen), IDCANCEL);
}
