// Which product and version an installation is, as its uninstall entry tells
// Apps & Features and package managers: as the package states it, else as
// the installed main program's version resource says.
#pragma once

#include "package.h"

#include <cstdint>
#include <string>

struct ProductIdentity {
    std::string version;   // empty when neither says
    std::string publisher; // empty when neither says
    bool hasNumbers = false;
    uint16_t major = 0;
    uint16_t minor = 0;
};

ProductIdentity IdentityOf(const Package& package, const std::string& installedProgram);

// Whether the version `newer` is below `older`; false when either is no
// version number.
bool IsDowngrade(const std::string& older, const std::string& newer);
