#include "copy_progress_dlg.h"

#include "resource.h"
#include "unique_handle.h"
#include "win_app.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr DWORD kTick = 30;       // milliseconds between refreshes: smooth enough, and cheap
constexpr uint64_t kRange = 1000; // steps of the bar

// Keeps a window disabled while it lives, and enables it again after only if
// it was enabled before.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND window)
        : window_(window && ::IsWindowEnabled(window) ? window : nullptr) {
        if (window_)
            ::EnableWindow(window_, FALSE);
    }
    ~DisabledWindow() {
        if (window_)
            ::EnableWindow(window_, TRUE);
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    HWND window_;
};

// Dispatches what waits for this thread's windows, so that they repaint.
// False once WM_QUIT came: it is posted again for the loop it was meant for.
bool PumpWaitingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

} // namespace

// What one run shows. The owner is enabled again before the window goes, so
// that the activation returns to it.
struct CCopyProgressDlg::Run {
    explicit Run(HWND owner) : disabled(owner) {}
    UniqueWindow window;
    DisabledWindow disabled;
    const DWORD started = ::GetTickCount();
    DWORD lastTick = started - kTick; // the first report refreshes at once
    bool triedShowing = false;
    bool pumping = true;
    uint64_t total = 0, done = 0;
    std::string file, fileShown;
};

CCopyProgressDlg::CCopyProgressDlg(CWnd* owner, DWORD showAfter)
    : CDialog(IDD_COPY_PROGRESS, owner), showAfter_(showAfter) {}

CCopyProgressDlg::~CCopyProgressDlg() {
    run_.reset(); // the window goes while this object is whole
}

void CCopyProgressDlg::Start(uint64_t totalBytes) {
    run_.reset(); // a run before gives its owner back before this one takes it
    run_ = std::make_unique<Run>(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    run_->total = totalBytes;
}

void CCopyProgressDlg::File(const std::string& targetPath) {
    if (run_)
        run_->file = targetPath;
}

void CCopyProgressDlg::Progress(uint64_t doneBytes) {
    if (!run_)
        return;
    run_->done = doneBytes;
    const DWORD now = ::GetTickCount();
    if (now - run_->lastTick < kTick)
        return;
    run_->lastTick = now;
    if (!run_->triedShowing && now - run_->started >= showAfter_)
        Show();
    Refresh();
    if (run_->pumping)
        run_->pumping = PumpWaitingMessages();
}

void CCopyProgressDlg::End() {
    run_.reset();
}

void CCopyProgressDlg::Show() {
    run_->triedShowing = true;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    run_->window.reset(CreateModeless());
    if (run_->window)
        ::ShowWindow(run_->window.get(), SW_SHOW);
}

BOOL CCopyProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    SendDlgItemMessage(IDC_COPY_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, kRange));
    return TRUE;
}

void CCopyProgressDlg::Refresh() {
    if (!m_hWnd)
        return;
    const uint64_t done = std::min(run_->done, run_->total);
    SendDlgItemMessage(IDC_COPY_BAR, PBM_SETPOS,
                       static_cast<WPARAM>(run_->total ? done * kRange / run_->total : 0));
    if (run_->file != run_->fileShown) {
        SetDlgItemText(IDC_COPY_FILE, run_->file);
        run_->fileShown = run_->file;
    }
}
