// The places an installation of this system can have put something, and so
// the only places its uninstaller removes anything from:
// - files and directories below the install directory (the record's own);
// - below a Programs folder, the group's directories and links;
// - on the desktop and in Quick Launch, links into the install directory;
// - below the Windows directory, files (where "%SystemRoot%" targets land);
// - under HKEY_CURRENT_USER, the uninstall entry whose UninstallString names
//   the install directory, and the auto-start value that starts a program in it.
// No link on the way to an item is followed.
#pragma once

#include "item_policy.h"

#include <string>
#include <vector>

class RemovalScope : public ItemPolicy {
public:
    explicit RemovalScope(std::string installDir);

    void Prepare(const CSetupDat& record) override;
    bool Allows(const setupcore::RecordItem& item) const override;

private:
    bool AllowsPath(const setupcore::RecordItem& item) const;
    bool AllowsRegistry(const setupcore::RecordItem& item) const;
    // A .lnk that is gone already, or whose target lies in the install directory.
    bool IsOurLink(const std::string& path) const;
    bool RefersToInstallation(const std::string& command) const;

    std::string installDir_;
    std::string windowsDir_;
    std::vector<std::string> programsFolders_;
    std::vector<std::string> linkFolders_;
    std::vector<std::string> entryNames_; // uninstall entries of this installation
};
