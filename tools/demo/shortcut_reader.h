// Reads a shell link (.lnk) back through the shell's own IShellLinkA, so the
// demo shows what the shell will start, not what the installer meant to write.
#pragma once

#include <string>

struct ShortcutContent {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
};

// The caller holds COM initialised on this thread. False when the link
// cannot be loaded.
bool ReadShortcut(const std::string& linkPath, ShortcutContent& content);
