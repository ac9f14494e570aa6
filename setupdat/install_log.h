// Where an unattended run writes down what it does, one line an event: the
// engine tells it of every directory, file, shortcut and registry value made
// and every item removed. The interactive runs keep no log: theirs is null.
#pragma once

#include "item_policy.h"

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

namespace setupcore {
struct RecordItem;
}

// The line that tells whether a file, directory or shortcut the installation
// recorded is there; empty for a registry item, whose values are logged
// with LogRegistryValues.
std::string MadeLine(const setupcore::RecordItem& item);

// One line for each value of the key `keyPath` under HKEY_CURRENT_USER, read
// back as it now stands, when there is a log.
void LogRegistryValues(InstallLog* log, const std::string& keyPath);

// The line that tells how an install-record item went, from what its
// removal returned: `item` as resolved, `text` as recorded.
std::string RemovalLine(const setupcore::RecordItem& item, ItemOutcome outcome,
                        const std::string& text);
