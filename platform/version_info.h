// What a program's version resource says about it: the version and the
// company, for the uninstall entry when the package states neither.
#pragma once

#include <cstdint>
#include <string>

struct VersionInfo {
    std::string version; // ProductVersion, else FileVersion, as written; empty when neither
    std::string company; // CompanyName; empty when none
    // The product version's numbers from the fixed part of the resource,
    // which holds them whatever the text says ("1, 0, 0, 0", "1.0 beta").
    bool hasNumbers = false;
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
};

// All empty when the file is missing, is no program or has no version
// resource: the caller then simply has nothing to show.
VersionInfo ReadVersionInfo(const std::string& programPath);
