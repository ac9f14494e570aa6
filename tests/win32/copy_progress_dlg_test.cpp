// The real progress window over a real copy run: it shows for a long run and
// is gone once the run ends, never shows for a short one, keeps its owner
// disabled meanwhile, and lets the thread's windows get their messages.
#include "copy_progress_dlg.h"
#include "wizard_prompts.h"
#include "packaged_file.h"
#include "resource.h"
#include "engine_test_support.h"
#include "test_support.h"
#include "unique_handle.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

std::string Text(size_t size) {
    std::string text(size, ' ');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + i * 7 % 26);
    return text;
}

// The wizard's stand-in: a window that counts the WM_APP messages it got.
int g_messagesGot = 0;
LRESULT CALLBACK OwnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP)
        ++g_messagesGot;
    return ::DefWindowProcA(window, msg, wParam, lParam);
}

UniqueWindow MakeOwner() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CopyProgressTestOwner";
    ::RegisterClassA(&windowClass); // a second registration fails harmlessly
    return UniqueWindow(::CreateWindowA("CopyProgressTestOwner", "Owner", WS_OVERLAPPEDWINDOW, 0, 0,
                                        200, 100, nullptr, nullptr, windowClass.hInstance,
                                        nullptr));
}

// Passes the run's reports on to the window and looks at it after each.
class WatchedProgress : public CopyProgress {
public:
    WatchedProgress(CCopyProgressDlg& window, HWND owner) : window_(window), owner_(owner) {}
    void Start(uint64_t totalBytes) override { window_.Start(totalBytes); }
    void File(const std::string& targetPath) override { window_.File(targetPath); }
    void Progress(uint64_t doneBytes) override {
        window_.Progress(doneBytes);
        ownerEverEnabled = ownerEverEnabled || ::IsWindowEnabled(owner_);
        if (!window_.m_hWnd || !::IsWindowVisible(window_.m_hWnd))
            return;
        shown = window_.m_hWnd;
        fileShown = window_.GetDlgItemText(IDC_COPY_FILE);
        barShown = static_cast<int>(window_.SendDlgItemMessage(IDC_COPY_BAR, PBM_GETPOS));
    }
    void End() override { window_.End(); }

    HWND shown = nullptr;
    std::string fileShown;
    int barShown = 0;
    bool ownerEverEnabled = false;

private:
    CCopyProgressDlg& window_;
    HWND owner_;
};

} // namespace

TEST(CCopyProgressDlg, ShowsForALongRunOnlyAndGoesWithTheRun) {
    struct Case {
        const char* name;
        DWORD showAfter;
        size_t size;
        bool shown;
    };
    const Case cases[] = {{"long run", 0, 8 * 1024 * 1024, true},
                          {"short run", CCopyProgressDlg::kShowAfter, 1000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUserInterface ui;
        TempDir source, install;
        auto owner = MakeOwner();
        ASSERT_TRUE(owner);
        CWnd ownerWnd;
        ownerWnd.m_hWnd = owner.get();
        TestInstallation dat;
        dat.SetDirectories(source.Path(), install.Path());
        WriteFileBytes(source / "big.bin", setupcore::PackBytes(Text(c.size)));
        dat.AddFileEntry("big.bin", true);
        g_messagesGot = 0;
        ::PostMessageA(owner.get(), WM_APP, 0, 0);

        CCopyProgressDlg window(&ownerWnd, c.showAfter);
        WatchedProgress watched(window, owner.get());
        EXPECT_EQ(dat.RunCopy(nullptr, &watched), 1);
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(g_messagesGot, 1) << "the owner's messages are dispatched during the run";
        EXPECT_FALSE(watched.ownerEverEnabled) << "the owner cannot be pressed during the run";
        EXPECT_TRUE(::IsWindowEnabled(owner.get()));
        EXPECT_EQ(watched.shown != nullptr, c.shown);
        EXPECT_FALSE(watched.shown && ::IsWindow(watched.shown)) << "the window goes with the run";
        if (!c.shown)
            continue;
        EXPECT_EQ(watched.fileShown, install / "big.bin");
        EXPECT_GT(watched.barShown, 0);
    }
}
