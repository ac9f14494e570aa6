#include "install_defaults.h"

#include "current_directory.h"
#include "path_helpers.h"
#include "reboot_delete.h"
#include "package.h"
#include "shell_link.h"

#include <shlobj.h>

std::string DefaultInstallDir(const Package& package, bool perUser) {
    if (perUser) {
        const std::string local = SpecialFolderPath(CSIDL_LOCAL_APPDATA);
        if (!local.empty())
            return AppendPath(AppendPath(local, "Programs"), package.folderName);
    }
    std::string directory = "?:\\Program Files\\";
    if (!FindProgramFilesDrive(directory))
        directory = "C:\\";
    return directory + package.folderName;
}

int FindProgramFilesDrive(std::string& path) {
    std::string windows = WindowsDirectory();
    if (windows.empty() || path.empty())
        return 0;
    CurrentDirectoryKeeper keeper;
    std::string root = "A:\\";
    // Drives before the Windows drive are never tried. The letter is a plain
    // (signed) char, so a Windows drive above 'Z' tries none at all.
    for (char letter = windows[0]; letter <= 'Z'; ++letter) {
        root[0] = letter;
        path[0] = letter;
        UINT type = ::GetDriveTypeA(root.c_str());
        if ((type == DRIVE_FIXED || type == DRIVE_REMOTE) && EnterDirectory(path))
            return 1;
    }
    return 0;
}

std::string ProgramsFolder(bool perUser) {
    std::string folder;
    if (perUser) {
        GetSpecialFolderPath(folder, CSIDL_PROGRAMS);
    } else if (!IsWindowsNT()) {
        folder = AppendPath(WindowsDirectory(), "Start Menu\\Programs");
    } else {
        // The folder shared by all users, else the user's own: either holds
        // groups the user can see in the Start menu.
        GetSpecialFolderPath(folder, CSIDL_COMMON_PROGRAMS);
        if (folder.empty())
            GetSpecialFolderPath(folder, CSIDL_PROGRAMS);
    }
    return folder.empty() ? folder : AppendPath(folder, "");
}
