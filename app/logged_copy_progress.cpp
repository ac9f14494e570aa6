#include "logged_copy_progress.h"

#include "install_log.h"
#include "path_helpers.h"

#include <windows.h>

LoggedCopyProgress::LoggedCopyProgress(const std::vector<std::string>& created, InstallLog& log,
                                       CopyProgress* shown)
    : created_(created), log_(log), shown_(shown) {}

void LoggedCopyProgress::Start(uint64_t totalBytes) {
    log_.Line("Copying " + std::to_string(totalBytes) + " bytes of packaged files");
    if (shown_)
        shown_->Start(totalBytes);
}

void LoggedCopyProgress::LogNewlyCreated() {
    for (; logged_ < created_.size(); ++logged_) {
        const std::string& path = created_[logged_];
        made_.push_back(path);
        if (IsExistingDirectory(path))
            log_.Line("Directory made: " + path);
    }
}

void LoggedCopyProgress::File(const std::string& targetPath) {
    LogNewlyCreated();
    log_.Line("Writing file: " + targetPath);
    if (shown_)
        shown_->File(targetPath);
}

void LoggedCopyProgress::Progress(uint64_t doneBytes) {
    if (shown_)
        shown_->Progress(doneBytes);
}

void LoggedCopyProgress::End() {
    LogNewlyCreated();
    if (shown_)
        shown_->End();
}

void LoggedCopyProgress::LogUndone() {
    log_.Line("The run was undone: what it made is taken away again");
    for (auto path = made_.rbegin(); path != made_.rend(); ++path)
        log_.Line((::GetFileAttributesA(path->c_str()) == INVALID_FILE_ATTRIBUTES
                       ? "Removed: "
                       : "Could not remove: ") +
                  *path);
}
