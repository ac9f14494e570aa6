// The copy run's progress as a log: the total and every file as it is
// written, handed on to a window when there is one. (The directories the run
// makes, and the undoing of a failed run, are logged by the run itself.)
#pragma once

#include "copy_progress.h"

class InstallLog;

class LoggedCopyProgress : public CopyProgress {
public:
    // `shown` may be null.
    LoggedCopyProgress(InstallLog& log, CopyProgress* shown);

    void Start(uint64_t totalBytes) override;
    void File(const std::string& targetPath) override;
    void Progress(uint64_t doneBytes) override;
    void End() override;

private:
    InstallLog& log_;
    CopyProgress* shown_;
};
