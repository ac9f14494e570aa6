// What the copy run tells of its progress, to a window or to nothing: setupdat
// knows no window of the wizard's. Every call comes from the thread that runs
// the copy run, which is also the one that shows its messages.
#pragma once

#include <cstdint>
#include <string>

class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    // Once, before the first file: how many bytes of the package the run is to install.
    virtual void Start(uint64_t totalBytes) = 0;
    // A target is about to be written.
    virtual void File(const std::string& targetPath) = 0;
    // So many of the total bytes are installed. Called often, also while the
    // count stands still, so that the user interface can stay alive.
    virtual void Progress(uint64_t doneBytes) = 0;
    // The run is over, however it ended.
    virtual void End() = 0;
};
