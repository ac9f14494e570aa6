// The copy run's progress as a log: every directory and file it makes, as it
// makes it, handed on to a window when there is one. The copy run appends what
// it makes to the package's list of created paths before it reports the file,
// so each report logs the new entries of that list.
#pragma once

#include "copy_progress.h"

#include <string>
#include <vector>

class InstallLog;

class LoggedCopyProgress : public CopyProgress {
public:
    // `created` is the installation's list of paths it made; `shown` may be null.
    LoggedCopyProgress(const std::vector<std::string>& created, InstallLog& log,
                       CopyProgress* shown);

    void Start(uint64_t totalBytes) override;
    void File(const std::string& targetPath) override;
    void Progress(uint64_t doneBytes) override;
    void End() override;

    // After a failed run was undone: what of the logged paths is gone again.
    void LogUndone();

private:
    void LogNewlyCreated();

    const std::vector<std::string>& created_;
    InstallLog& log_;
    CopyProgress* shown_;
    size_t logged_ = 0;
    std::vector<std::string> made_; // every path this run made, for the undo's account
};
