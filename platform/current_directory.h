// Saves the process's current directory and puts it back on leaving scope:
// probing a directory by entering it must never leave the process elsewhere.
#pragma once

#include <windows.h>

#include <string>

class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper();
    ~CurrentDirectoryKeeper();
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

    const std::string& Saved() const { return saved_; }

private:
    std::string saved_;
};

// Whether `path` can be made the current directory (it is left changed).
inline bool EnterDirectory(const std::string& path) {
    return !path.empty() && ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}
