// The Windows shell's special folders and shell links (.lnk files), the two
// things the installer needs of the shell. Neither shows anything to the user.
#pragma once

#include <windows.h>

#include <string>

// Fills `destination` with the path of shell folder `folder` (a CSIDL value)
// and returns true; false, leaving it untouched, when the shell does not know
// the folder or it has no file-system path.
bool GetSpecialFolderPath(std::string& destination, int folder);
// The same as a value: empty when the shell has no such folder.
std::string SpecialFolderPath(int folder);

// Writes a shell link. workingDirectory, iconPath, arguments may be null
// (arguments may be empty: then none are set). Creates no directory. Returns
// CoInitialize's failure when COM cannot be had, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
// for a link path of MAX_PATH characters or more, else the HRESULT of the
// last COM step performed (creation, the IPersistFile query, or the save).
HRESULT CreateShortcut(const std::string& target, const std::string& linkFile,
                       const char* workingDirectory, const char* iconPath, int iconIndex,
                       const char* arguments);

// What a shell link holds, as the shell itself reads it back: what the user's
// click will start.
struct ShortcutContents {
    std::string target; // as stored, not resolved against the disk
    std::string arguments;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
};

// Loads `linkFile` through IShellLinkA; the HRESULT of the first step that
// failed, else of the load. `contents` is filled only on success.
HRESULT ReadShortcut(const std::string& linkFile, ShortcutContents& contents);
