// The copy run's progress window: a bar that moves with the package's bytes as
// they are installed and the path of the file being written. It appears only
// once a run has gone on for a while, so that a short run shows nothing; for
// the whole run its owner (the wizard) is disabled, and the windows of this
// thread are kept repainting.
#pragma once

#include "copy_progress.h"
#include "dialog.h"

#include <memory>

class CCopyProgressDlg : public CDialog, public CopyProgress {
public:
    static constexpr DWORD kShowAfter = 500; // milliseconds

    explicit CCopyProgressDlg(CWnd* owner, DWORD showAfter = kShowAfter);
    ~CCopyProgressDlg() override;
    CCopyProgressDlg(const CCopyProgressDlg&) = delete;
    CCopyProgressDlg& operator=(const CCopyProgressDlg&) = delete;

    void Start(uint64_t totalBytes) override;
    void File(const std::string& targetPath) override;
    void Progress(uint64_t doneBytes) override;
    void End() override;

    BOOL OnInitDialog() override;
    // The run cannot be stopped from here: Enter, Escape and Alt+F4 do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    struct Run;
    void Show();
    void Refresh();

    std::unique_ptr<Run> run_;
    DWORD showAfter_;
};
