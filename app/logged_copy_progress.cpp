#include "logged_copy_progress.h"

#include "install_log.h"

#include <string>

LoggedCopyProgress::LoggedCopyProgress(InstallLog& log, CopyProgress* shown)
    : log_(log), shown_(shown) {}

void LoggedCopyProgress::Start(uint64_t totalBytes) {
    log_.Line("Copying " + std::to_string(totalBytes) + " bytes of packaged files");
    if (shown_)
        shown_->Start(totalBytes);
}

void LoggedCopyProgress::File(const std::string& targetPath) {
    log_.Line("Writing file: " + targetPath);
    if (shown_)
        shown_->File(targetPath);
}

void LoggedCopyProgress::Progress(uint64_t doneBytes) {
    if (shown_)
        shown_->Progress(doneBytes);
}

void LoggedCopyProgress::End() {
    if (shown_)
        shown_->End();
}
