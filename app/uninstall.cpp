// The two processes of an uninstallation: the installed program confirms and
// hands over to a temporary copy of itself, which removes the installation.
// The copy is needed because a running program cannot delete its own file.
#include "setup_app.h"

#include "path_helpers.h"
#include "process_start.h"
#include "reboot_delete.h"
#include "remove_empty_directories.h"
#include "resource.h"
#include "setup_dat.h"
#include "string_table.h"
#include "uninstall_dlg.h"
#include "user_interface.h"

#include <direct.h>
#include <stdlib.h>

#include <vector>

namespace {

// The longest directory path and hand-off command line the uninstaller
// accepts; a longer one is refused whole rather than cut, since a cut path
// would start or delete the wrong thing.
constexpr size_t kMaxDirectoryPath = 1023;
constexpr size_t kMaxHandOffCommand = 2047;

bool RefuseIfTooLong(const std::string& text, size_t limit) {
    if (text.size() <= limit)
        return false;
    AfxMessageBox(FormatResourceString(IDS_UNINSTALL_PATH_TOO_LONG, text));
    return true;
}

std::string TemporaryDirectory() {
    DWORD needed = ::GetTempPathA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

// A fresh, empty file in `directory` whose name starts with (up to three
// characters of) `prefix`; empty when none could be made.
std::string MakeTemporaryFile(const std::string& directory, const std::string& prefix) {
    char name[MAX_PATH];
    if (!::GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, name))
        return std::string();
    return name;
}

// Deletes a file that the process which handed over may still hold for a
// moment: five tries, 100 ms after each failure. A file still held after
// that is left to the next restart rather than left behind for good.
void DeleteWhenReleased(const std::string& path) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (::DeleteFileA(path.c_str()))
            return;
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        ::Sleep(100);
    }
    DeleteOnReboot(path);
}

} // namespace

BOOL CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return TRUE;

    const std::string program = __argv[0];
    const std::string temporaryDirectory = TemporaryDirectory();
    if (RefuseIfTooLong(temporaryDirectory, kMaxDirectoryPath))
        return FALSE;
    const std::string programDirectory = ExtractDirectory(program);
    const std::string copy = MakeTemporaryFile(temporaryDirectory, ExtractFileName(program, false));
    if (copy.empty())
        return FALSE;
    if (!::CopyFileA(program.c_str(), copy.c_str(), FALSE)) {
        ::DeleteFileA(copy.c_str()); // the empty placeholder would stay for good
        return FALSE;
    }
    // The copy cannot start without the zlib1.dll it imports.
    ::CopyFileA(AppendPath(programDirectory, "zlib1.dll").c_str(),
                AppendPath(ExtractDirectory(copy), "zlib1.dll").c_str(), FALSE);

    const std::string command = "\"" + copy + "\" /UNINSTALL \"" + program + "\"";
    if (RefuseIfTooLong(command, kMaxHandOffCommand)) {
        ::DeleteFileA(copy.c_str());
        return FALSE;
    }
    StartDetachedProcess(copy, command.c_str(), programDirectory);
    return TRUE;
}

BOOL CSetupApp::RemoveInstallation() {
    const std::string installedProgram = __argv[2];
    const std::string installDirectory = ExtractDirectory(installedProgram);
    if (RefuseIfTooLong(installDirectory, kMaxDirectoryPath))
        return TRUE;
    const std::string record =
        AppendPath(installDirectory, ExtractFileName(installedProgram, false) + "Info.dat");
    {
        CSetupDat installation;
        installation.RemoveInstalled(record); // it tells the user itself when it cannot
    }
    ::DeleteFileA(record.c_str());
    DeleteWhenReleased(installedProgram);
    DeleteWhenReleased(AppendPath(installDirectory, "zlib1.dll"));

    // The first process started this one inside the install directory.
    const std::string ownDirectory = ExtractDirectory(__argv[0]);
    _chdir(ownDirectory.c_str());
    RemoveEmptyDirectories(installDirectory);

    DeleteOnReboot(__argv[0]);
    DeleteOnReboot(AppendPath(ownDirectory, "zlib1.dll"));
    return TRUE;
}
