#include "move_aside.h"

#include "reboot_delete.h"

#include <windows.h>

bool MoveAsideForRestart(const std::string& path, const std::string& directory) {
    char aside[MAX_PATH];
    // A fresh, empty file reserves the name; the move replaces it.
    if (!::GetTempFileNameA(directory.c_str(), "Del", 0, aside))
        return false;
    if (!::MoveFileExA(path.c_str(), aside, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileA(aside);
        return false;
    }
    DeleteOnReboot(aside);
    return true;
}
