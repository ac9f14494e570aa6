// The installation, run when the user presses Install on the last page: the
// install directory, the copy run, URL.txt, the program group and its
// shortcuts, the uninstall entry, auto-start, the complete install record,
// the optional launch, and clearing the package out of the setup directory.
// Every item made is recorded, in this order, for the uninstaller.
#include "setup_pg_group.h"

#include "copy_progress_dlg.h"
#include "path_helpers.h"
#include "process_start.h"
#include "reg_key_holder.h"
#include "resource.h"
#include "setup_dat.h"
#include "setup_directory_sweep.h"
#include "shell_link.h"
#include "user_interface.h"
#include "wizard_globals.h"

#include <shlobj.h>

namespace {

const char kRegistryPrefix[] = "%REG_CURRENT_USER%";
const char kUninstallKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

// What the installation's steps share.
struct Installation {
    std::string installDir;
    std::string programPath;
    std::string iconPath;
    std::string linkName;
};

void Record(const std::string& item, const char* prefix = nullptr) {
    theSetupDat.AddInstalledItem(item, prefix);
}

LONG SetString(HKEY key, const char* name, const std::string& value) {
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
}

LONG SetNumber(HKEY key, const char* name, DWORD value) {
    return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
}

// Kilobytes installed, as Apps and Features shows them.
DWORD InstalledKilobytes() {
    ULONGLONG bytes = 0;
    for (const auto& entry : theSetupDat.m_files) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExA(entry->szName.c_str(), GetFileExInfoStandard, &data))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

// A shortcut to the program in the shell folder `folder`, when the shell has
// one. Skipped, not failed, on any error: a missing desktop or Quick Launch
// is no reason to stop the installation.
void ShortcutInShellFolder(const Installation& install, int folder, const char* below) {
    try {
        std::string directory;
        GetSpecialFolderPath(directory, folder);
        if (directory.empty())
            return;
        if (below)
            directory = AppendPath(directory, below);
        const std::string link = AppendPath(directory, install.linkName);
        CreateShortcut(install.programPath, link, install.installDir.c_str(),
                       install.iconPath.c_str(), 0, nullptr);
        Record(link);
    } catch (...) { // this shortcut is optional: skip it and go on
    }
}

// The uninstall entry and, inside the group, its shortcut.
void RegisterUninstaller(CRegKeyHolder& key, const Installation& install,
                         const std::string& groupDir) {
    const std::string uninstallKey = kUninstallKeyBase + g_strDisplayName;
    if (key.Create(HKEY_CURRENT_USER, uninstallKey.c_str()) != ERROR_SUCCESS)
        return;
    const std::string uninstaller =
        AppendPath(install.installDir, ExtractFileName(g_szSetupPath, true));
    if (!groupDir.empty()) {
        const std::string link = AppendPath(groupDir, "Uninstall.lnk");
        CreateShortcut(uninstaller, link, install.installDir.c_str(), uninstaller.c_str(), 1,
                       " /UNINSTALL");
        Record(link);
    }
    SetString(key.m_hKey, "DisplayName", g_strDisplayName);
    // Quoted: the install directory usually lies below "Program Files".
    SetString(key.m_hKey, "UninstallString", "\"" + uninstaller + "\" /UNINSTALL");
    // Deleted with the key, so they need no items of their own.
    SetString(key.m_hKey, "DisplayIcon", install.programPath);
    SetString(key.m_hKey, "InstallLocation", install.installDir);
    SetNumber(key.m_hKey, "EstimatedSize", InstalledKilobytes());
    SetNumber(key.m_hKey, "NoModify", 1);
    SetNumber(key.m_hKey, "NoRepair", 1);
    Record(uninstallKey + "\\UninstallString", kRegistryPrefix);
    Record(uninstallKey + "\\DisplayName", kRegistryPrefix);
    Record(uninstallKey + "\\", kRegistryPrefix);
    key.Close();
}

void RegisterAutoStart(CRegKeyHolder& key, const Installation& install) {
    if (key.Create(HKEY_CURRENT_USER, kRunKey) != ERROR_SUCCESS)
        return;
    SetString(key.m_hKey, "KestrelApp", "\"" + install.programPath + "\"");
    key.Close();
    Record(std::string(kRegistryPrefix) + kRunKey + "KestrelApp");
}

// The files of the package that the sweep may take from the setup directory.
std::vector<std::string> PackageFiles() {
    std::vector<std::string> files = {"Setup.dat", "License.txt", "URL.txt", "zlib1.dll",
                                      ExtractFileName(g_szSetupPath, true)};
    for (const auto& entry : theSetupDat.m_files)
        files.push_back(ExtractFileName(entry->szName, true));
    return files;
}

} // namespace

BOOL CSetupPgGroup::OnWizardFinish() {
    Installation install;
    install.installDir = theSetupDat.m_szInstallDir;
    theSetupDat.m_createdPaths.clear();
    if (!CreateDirectoryTree(install.installDir, &theSetupDat.m_createdPaths)) {
        AfxMessageBox(IDS_CANNOT_CREATE_DIR);
        return FALSE;
    }
    CCopyProgressDlg progress(GetSheet()); // keeps the wizard disabled for the run
    if (!theSetupDat.InstallFiles(g_strInfoFileName, &progress)) {
        // Nothing the failed run made may stay unrecorded on the disk.
        theSetupDat.RemoveCreatedPaths();
        return TRUE;
    }
    m_bInstalled = true;
    CRegKeyHolder key; // one holder for every registry step

    const std::string setupDirectory = ExtractDirectory(g_szSetupPath);
    const std::string url = AppendPath(install.installDir, "URL.txt");
    ::CopyFileA(AppendPath(setupDirectory, "URL.txt").c_str(), url.c_str(), FALSE);
    Record(url);

    // Without a Programs folder there is no group: a group path relative to
    // the drive's root would scatter shortcuts where no one looks for them.
    std::string groupDir;
    if (!m_szGroupDir.empty()) {
        m_szGroupDir += GetDlgItemText(IDC_GROUP_NAME).substr(0, 259);
        groupDir = m_szGroupDir;
        CreateDirectoryTree(groupDir);
        Record(groupDir);
    }
    install.programPath = AppendPath(install.installDir, theSetupDat.m_szAppExe);
    install.iconPath = AppendPath(install.installDir, "AppIcon.ico");
    install.linkName = g_strDisplayName + ".lnk";
    if (!groupDir.empty()) {
        const std::string link = AppendPath(groupDir, install.linkName);
        CreateShortcut(install.programPath, link, install.installDir.c_str(),
                       install.iconPath.c_str(), 0, nullptr);
        Record(link);
    }
    if (IsDlgButtonChecked(IDC_DESKTOP_SHORTCUT))
        ShortcutInShellFolder(install, CSIDL_DESKTOP, nullptr);
    if (IsDlgButtonChecked(IDC_QUICKLAUNCH_SHORTCUT))
        ShortcutInShellFolder(install, CSIDL_APPDATA,
                              "\\Microsoft\\Internet Explorer\\Quick Launch");
    RegisterUninstaller(key, install, groupDir);
    if (!groupDir.empty()) {
        if (m_szGroupDir.back() != '\\')
            m_szGroupDir += '\\';
        Record(m_szGroupDir);
    }
    if (IsDlgButtonChecked(IDC_AUTOSTART))
        RegisterAutoStart(key, install);

    theSetupDat.WriteInstallRecord(g_strInfoFileName);
    if (IsDlgButtonChecked(IDC_LAUNCH_PROGRAM))
        StartDetachedProcess(install.programPath, nullptr, install.installDir);
    SweepSetupDirectory(setupDirectory, PackageFiles());
    return CPropertyPage::OnWizardFinish();
}
