// The install date of a SYSTEMTIME, for the uninstall entry: take it from
// GetLocalTime, as the user's calendar is the one package managers show.
#pragma once

#include "install_date.h"

#include <windows.h>

#include <string>

inline std::string InstallDateText(const SYSTEMTIME& time) {
    return setupcore::InstallDateText(time.wYear, time.wMonth, time.wDay);
}
