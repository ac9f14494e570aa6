// What one run of the setup program knows of itself: where it was started
// from, what its install record is called and the package it installs. The
// application object owns it and hands it down to the wizard and the engine.
#pragma once

#include "install_log.h"
#include "installed_version.h"
#include "package.h"
#include "run_recovery.h"

#include <optional>

#include <string>

struct SetupContext {
    std::string g_szSetupPath;     // the setup program's path as started
    std::string g_strInfoFileName; // the install record's file name
    Package package;               // as read from Setup.dat
    std::string installDir;        // where the installation went, once it has
    // The installation of this package already on the machine, when there is
    // one: the run updates it (installed_version.h).
    std::optional<InstalledVersion> installed;

    // What this run found of an earlier run of the product that died midway.
    RecoveryFound recovered = RecoveryFound::Nothing;

    std::string g_strDisplayName;  // the folder name's last part, extension cut
    std::string g_strDefaultGroup; // the program group proposed to the user
    InstallLog* log = nullptr;     // an unattended run's log; the wizard keeps none

    // Takes the program's path: the record is named after it, and the
    // package lies beside it.
    void StartFrom(const std::string& programPath);
    // The display name and default group, from the package's folder name.
    void DerivePackageNames();

    std::string SetupDirectory() const;
    // The setup program's file name, extension kept: the uninstaller's name.
    std::string SetupFileName() const;
};

// The install record's file name for the setup program at `programPath`.
std::string RecordFileNameFor(const std::string& programPath);
