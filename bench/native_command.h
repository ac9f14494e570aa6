// Runs a Linux command from inside Wine: the peers' installers are built by
// makensis, which is a Linux program here. Under Wine, CreateProcess of a file
// that is no Windows program starts it as a native process, but gives back no
// handle to wait on; so the shell leaves the command's exit status in a file
// when it ends, and the caller waits for that file.
#pragma once

#include <string>

namespace bench {

// Whether this program runs under Wine (ntdll has wine_get_version).
bool RunningUnderWine();

struct NativeResult {
    bool ran = false;  // the command ran to its end
    int exitCode = -1; // its exit status, when it did
    std::string error; // why it did not
};

// Runs `command` (sh syntax, no double quotes) through /bin/sh in
// `directory`, its output going to <name>.log there; waits at most
// `timeoutSeconds` for it to end.
NativeResult RunNative(const std::string& directory, const std::string& name,
                       const std::string& command, int timeoutSeconds);

} // namespace bench
