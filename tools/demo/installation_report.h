// What an installation put on the machine, read back once the installer has
// ended: the files of the install directory, the shortcuts the install record
// lists (read through the shell), and the values of the uninstall entry.
#pragma once

#include <string>
#include <vector>

struct Installation {
    std::string installDir;
    std::string uninstallKey;             // below HKEY_CURRENT_USER
    std::vector<std::string> recordItems; // the install record, as the uninstaller reads it
};

// Prints the report and fills `recordItems`; false when the install directory
// or a readable install record is missing.
bool ReportInstallation(Installation& installation);

// What the installer left of its package in the directory it ran from.
void ReportSetupDirectory(const std::string& setupDirectory);
