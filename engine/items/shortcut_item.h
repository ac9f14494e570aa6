// A shell link to a program of the installation: in the program group, on
// the desktop, in Quick Launch.
#pragma once

#include "install_transaction.h"
#include "item_type.h"

struct ShortcutSpec {
    std::string link; // the .lnk file
    std::string target;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
    std::string arguments; // may be empty
};

class ShortcutItem : public ItemType {
public:
    // Writes the link (what stood under its name before is put back should
    // the run not complete) and records it, made or not: a link that is not
    // there costs the uninstaller nothing. A link that could not be made is
    // logged with the shell's reason.
    static Problem Make(InstallTransaction& run, const ShortcutSpec& shortcut);

    const char* Name() const override { return "shortcut"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;

private:
    // A link that is gone already, or whose target lies in the install directory.
    static bool LeadsIntoInstallation(const std::string& path, const RemovalPlaces& places);
};
