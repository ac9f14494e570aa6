// An installation of the same package already on the machine, found before
// the wizard's first page and before an unattended run: where it is, what
// its record says it made, and the choices it was made with. An update
// lands there with those choices unless the user or the command line says
// otherwise, and leaves nothing of it behind.
#pragma once

#include "install_choices.h"
#include "install_log.h"
#include "install_record.h"
#include "made_list.h"

#include <optional>
#include <string>

struct InstalledVersion {
    std::string installDir; // canonical
    setupcore::InstallRecord record;
    std::optional<MadeList> madeList;
    std::string displayVersion; // as its entry says; empty when it says none
    std::string groupDir;       // the program group's folder, canonical; empty when none
    bool desktopShortcut = false;
    bool quickLaunchShortcut = false;
    bool autoStart = false;
};

// The installation whose uninstall entry under HKEY_CURRENT_USER is named
// `displayName`: taken only when the entry's InstallLocation holds a
// readable record (`recordFileName`) of that same directory and the entry's
// UninstallString starts a program there. Anything else is no installation
// of this package to update, and `log` hears why.
std::optional<InstalledVersion> FindInstalledVersion(const std::string& displayName,
                                                     const std::string& recordFileName,
                                                     InstallLog* log);

// The choices of an update: each one not `stated` is the installed version's
// (for whom it was made, its directory, its group when it lies below the
// Programs folder of that scope, its links and its auto-start value). The
// Programs folder is the scope's.
InstallChoices ChoicesForUpdate(InstallChoices choices, const setupcore::StatedChoices& stated,
                                const InstalledVersion& installed);
