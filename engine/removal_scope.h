// The places an installation of this system can have put something, and so
// the only places its uninstaller removes anything from:
// - files and directories below the install directory (the record's own);
// - below a Programs folder, the group's directories and links;
// - on the desktop and in Quick Launch, links into the install directory;
// - below the Windows directory, only the files the installation created
//   there (its made list says which), never one it replaced;
// - the folders it made: the install directory, folders below it, parents of
//   it that no one else keeps, and the group's folders below a Programs folder;
// - under HKEY_CURRENT_USER, the uninstall entry whose UninstallString names
//   the install directory, and the auto-start value that starts a program in it.
// Every path is compared in canonical form, the form it is then removed in,
// and no link on the way to an item is followed.
#pragma once

#include "item_policy.h"

#include <string>
#include <vector>

class RemovalScope : public ItemPolicy {
public:
    // `installDir` canonical.
    explicit RemovalScope(std::string installDir);

    // The files the installation created below the Windows directory.
    void AllowWindowsFiles(std::vector<std::string> files);

    void Prepare(const CSetupDat& record) override;
    bool Allows(const setupcore::RecordItem& item) const override;
    // Whether a folder on the made list (canonical) lies where an
    // installation makes folders.
    bool AllowsMadeFolder(const std::string& folder) const;

private:
    bool AllowsPath(const setupcore::RecordItem& item) const;
    bool AllowsRegistry(const setupcore::RecordItem& item) const;
    // A .lnk that is gone already, or whose target lies in the install directory.
    bool IsOurLink(const std::string& path) const;
    bool RefersToInstallation(const std::string& command) const;

    std::string installDir_;
    std::string windowsDir_;
    std::vector<std::string> windowsFiles_;
    std::vector<std::string> programsFolders_;
    std::vector<std::string> linkFolders_;
    std::vector<std::string> entryNames_; // uninstall entries of this installation
};
