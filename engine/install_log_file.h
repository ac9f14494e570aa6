// The log of an unattended run as a text file: every line timestamped and
// written through at once, so that a run killed half-way leaves all it did
// so far. Opened for appending and shared, so that the temporary copy of a
// silent uninstallation adds its lines while the first process waits.
#pragma once

#include "install_log.h"
#include "unique_handle.h"

#include <string>

class InstallLogFile : public InstallLog {
public:
    // Creates the file, or appends to it when it is a plain file (no link,
    // no reparse point, one name). False when it can be neither; the run
    // then goes on without a log.
    bool Open(const std::string& path);
    // One line, timestamped; control characters are written as \xHH.
    void Line(const std::string& text) override;

private:
    UniqueFileHandle file_;
};

// The log a silent run keeps when it is given none: "<temp>\<program's base name>.log".
std::string DefaultLogPath(const std::string& programPath);
