#include "pending_deletions.h"

#include "registry_values.h"

#include <algorithm>

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";

// "\??\C:\x" as written by MoveFileEx, "!\??\C:\x" for a rename that may
// replace its target.
std::string PlainPath(std::string path) {
    if (!path.empty() && path[0] == '!')
        path.erase(0, 1);
    if (path.compare(0, 4, "\\??\\") == 0)
        path.erase(0, 4);
    return path;
}

bool operator==(const PendingOperation& a, const PendingOperation& b) {
    return a.path == b.path && a.renameTo == b.renameTo;
}

} // namespace

std::vector<PendingOperation> PendingRestartOperations() {
    // Pairs of strings, source then target, where an empty target means
    // deletion: the empty strings inside rule out reading it as an ordinary
    // string list, which ends at the first empty one.
    const std::string bytes = ReadValueBytes(HKEY_LOCAL_MACHINE, kSessionManager, kPendingValue);
    std::vector<std::string> strings;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = std::min(bytes.find('\0', start), bytes.size());
        strings.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    std::vector<PendingOperation> operations;
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
        if (!strings[i].empty())
            operations.push_back({PlainPath(strings[i]), PlainPath(strings[i + 1])});
    return operations;
}

std::vector<PendingOperation> AddedOperations(const std::vector<PendingOperation>& before,
                                              const std::vector<PendingOperation>& after) {
    std::vector<PendingOperation> added;
    for (const PendingOperation& operation : after) {
        bool known = false;
        for (const PendingOperation& old : before)
            known = known || old == operation;
        if (!known)
            added.push_back(operation);
    }
    return added;
}
