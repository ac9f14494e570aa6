#include "reg_key_holder.h"

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
