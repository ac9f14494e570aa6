// Owns at most one open registry key and closes it on leaving scope: the one
// owner of registry keys in this system. Open and Create return the
// registry's own result.
#pragma once

#include <windows.h>

#include <string>

class CRegKeyHolder {
public:
    CRegKeyHolder() = default;
    ~CRegKeyHolder() { Close(); }
    CRegKeyHolder(const CRegKeyHolder&) = delete;
    CRegKeyHolder& operator=(const CRegKeyHolder&) = delete;

    // On success the new key replaces a held one; the result is that of closing it.
    LONG Open(HKEY parent, const char* subkey, REGSAM access);
    // `disposition`, when given, says whether the key was made or stood already.
    LONG Create(HKEY parent, const char* subkey, DWORD* disposition = nullptr);
    LONG Close();

    HKEY m_hKey = nullptr;

private:
    LONG Replace(HKEY key);
};

// The text of the string value `name` of `key` below `root`; empty when there
// is none or it is no string.
std::string ReadRegistryString(HKEY root, const std::string& key, const char* name);
