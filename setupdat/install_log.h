// Where an unattended run writes down what it does, one line an event: the
// engine tells it of every directory, file, shortcut and registry value made
// and every item removed. The interactive runs keep no log: theirs is null.
#pragma once

#include <string>

class InstallLog {
public:
    virtual ~InstallLog() = default;
    virtual void Line(const std::string& text) = 0;
};

// Writes `text` to `log` when there are both.
inline void LogLine(InstallLog* log, const std::string& text) {
    if (log && !text.empty())
        log->Line(text);
}
