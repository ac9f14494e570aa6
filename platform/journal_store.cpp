#include "journal_store.h"

#include "reg_key_holder.h"

const char kJournalKey[] = "Software\\KestrelSetup\\Journals";

namespace {

constexpr char kJournalParent[] = "Software\\KestrelSetup";

bool IsEmptyKey(const char* subkey) {
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, subkey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    return ::RegQueryInfoKeyA(key.m_hKey, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                              &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

void DeleteIfEmpty(const char* subkey) {
    if (IsEmptyKey(subkey))
        ::RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
}

} // namespace

bool WriteJournal(const std::string& product, const std::string& text) {
    CRegKeyHolder key;
    return key.Create(HKEY_CURRENT_USER, kJournalKey) == ERROR_SUCCESS &&
           ::RegSetValueExA(key.m_hKey, product.c_str(), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(text.data()),
                            static_cast<DWORD>(text.size())) == ERROR_SUCCESS &&
           ::RegFlushKey(key.m_hKey) == ERROR_SUCCESS;
}

bool ReadJournal(const std::string& product, std::string& text) {
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, kJournalKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.m_hKey, product.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_BINARY)
        return false;
    text.assign(size, '\0');
    return size == 0 || ::RegQueryValueExA(key.m_hKey, product.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(&text[0]),
                                           &size) == ERROR_SUCCESS;
}

std::vector<std::string> JournalProducts() {
    std::vector<std::string> products;
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, kJournalKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return products;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (::RegEnumValueA(key.m_hKey, index, name, &length, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS)
            break;
        products.emplace_back(name, length);
    }
    return products;
}

void ClearJournal(const std::string& product) {
    {
        CRegKeyHolder key;
        if (key.Open(HKEY_CURRENT_USER, kJournalKey, KEY_SET_VALUE) != ERROR_SUCCESS)
            return;
        ::RegDeleteValueA(key.m_hKey, product.c_str());
        ::RegFlushKey(key.m_hKey);
    }
    DeleteIfEmpty(kJournalKey);
    DeleteIfEmpty(kJournalParent);
}
