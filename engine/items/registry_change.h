// Registry changes an installation makes after its copy run, each remembering
// what stood before so that an installation that does not complete puts it
// back: a value set (its earlier type and data, or that there was none), a
// key made (deleted again only when it was made new).
#pragma once

#include "install_transaction.h"

#include <windows.h>

#include <string>

// Sets the string or number value `name` of `keyPath` under HKEY_CURRENT_USER,
// journalling what stood there before; the registry's result.
LONG SetRegistryString(InstallTransaction& run, const std::string& keyPath, const char* name,
                       const std::string& value);
LONG SetRegistryNumber(InstallTransaction& run, const std::string& keyPath, const char* name,
                       DWORD value);
// Deletes the value `name` of `keyPath`, journalling what stood there.
LONG DeleteRegistryValue(InstallTransaction& run, const std::string& keyPath, const char* name);
// Opens or makes `keyPath` under HKEY_CURRENT_USER, journalling it when it is new.
LONG MakeRegistryKey(InstallTransaction& run, const std::string& keyPath);
