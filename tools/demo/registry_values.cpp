#include "registry_values.h"

#include "reg_key_holder.h"

namespace {

bool OpenForReading(HKEY root, const std::string& subkey, CRegKeyHolder& key) {
    return key.Open(root, subkey.c_str(), KEY_READ) == ERROR_SUCCESS;
}

std::string TypeName(DWORD type) {
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_BINARY:
        return "REG_BINARY";
    default:
        return "type " + std::to_string(type);
    }
}

std::string DataText(DWORD type, const std::string& bytes) {
    if (type == REG_DWORD && bytes.size() == sizeof(DWORD)) {
        DWORD number = 0;
        bytes.copy(reinterpret_cast<char*>(&number), sizeof number);
        return std::to_string(number);
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return bytes.substr(0, bytes.find('\0'));
    return std::to_string(bytes.size()) + " bytes";
}

} // namespace

bool KeyExists(HKEY root, const std::string& subkey) {
    CRegKeyHolder key;
    return OpenForReading(root, subkey, key);
}

bool ValueExists(HKEY root, const std::string& subkey, const std::string& name) {
    CRegKeyHolder key;
    return OpenForReading(root, subkey, key) &&
           ::RegQueryValueExA(key.m_hKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

std::string ReadValueBytes(HKEY root, const std::string& subkey, const std::string& name) {
    CRegKeyHolder key;
    DWORD size = 0;
    if (!OpenForReading(root, subkey, key) ||
        ::RegQueryValueExA(key.m_hKey, name.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
        return std::string();
    std::string bytes(size, '\0');
    if (::RegQueryValueExA(key.m_hKey, name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS)
        return std::string();
    bytes.resize(size);
    return bytes;
}

std::string ReadString(HKEY root, const std::string& subkey, const std::string& name) {
    const std::string bytes = ReadValueBytes(root, subkey, name);
    return bytes.substr(0, bytes.find('\0'));
}

std::vector<RegistryValue> ReadValues(HKEY root, const std::string& subkey) {
    std::vector<RegistryValue> values;
    CRegKeyHolder key;
    if (!OpenForReading(root, subkey, key))
        return values;
    DWORD longestName = 0, longestData = 0;
    ::RegQueryInfoKeyA(key.m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &longestName, &longestData, nullptr, nullptr);
    for (DWORD index = 0;; ++index) {
        std::string name(longestName + 1, '\0');
        std::string data(longestData, '\0');
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueA(key.m_hKey, index, &name[0], &nameSize, nullptr, &type,
                            reinterpret_cast<BYTE*>(&data[0]), &dataSize) != ERROR_SUCCESS)
            break;
        name.resize(nameSize);
        data.resize(dataSize);
        values.push_back({name, TypeName(type), DataText(type, data)});
    }
    return values;
}
