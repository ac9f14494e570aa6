#include "reg_key_holder.h"

#include <cstring>

LONG CRegKeyHolder::Replace(HKEY key) {
    LONG closed = Close();
    m_hKey = key;
    return closed;
}

LONG CRegKeyHolder::Open(HKEY parent, const char* subkey, REGSAM access) {
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExA(parent, subkey, 0, access, &key);
    return result == ERROR_SUCCESS ? Replace(key) : result;
}

LONG CRegKeyHolder::Create(HKEY parent, const char* subkey, DWORD* disposition) {
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExA(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, disposition);
    return result == ERROR_SUCCESS ? Replace(key) : result;
}

LONG CRegKeyHolder::Close() {
    if (!m_hKey)
        return ERROR_SUCCESS;
    LONG result = ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return result;
}

std::string ReadRegistryString(HKEY root, const std::string& key, const char* name) {
    CRegKeyHolder holder;
    if (holder.Open(root, key.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::string();
    char text[2048] = "";
    DWORD size = sizeof text - 1, type = 0;
    if (::RegQueryValueExA(holder.m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(text, strnlen(text, size));
}
