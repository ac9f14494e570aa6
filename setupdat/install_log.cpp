#include "install_log.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "record_item.h"
#include "reg_key_holder.h"

#include <windows.h>

#include <cstring>

namespace {

class NullInstallLog : public InstallLog {
public:
    void Line(const std::string&) override {}
};

bool RegistryItemExists(const setupcore::RecordItem& item) {
    CRegKeyHolder parent;
    if (parent.Open(HKEY_CURRENT_USER, item.parentKey.c_str(), KEY_READ) != ERROR_SUCCESS)
        return false;
    if (item.kind == setupcore::ItemKind::RegistryKey) {
        CRegKeyHolder key;
        return key.Open(parent.m_hKey, item.name.c_str(), KEY_READ) == ERROR_SUCCESS;
    }
    return ::RegQueryValueExA(parent.m_hKey, item.name.c_str(), nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
}

} // namespace

InstallLog& NoInstallLog() {
    static NullInstallLog none;
    return none;
}

std::string MadeLine(const setupcore::RecordItem& item) {
    using setupcore::ItemKind;
    if (item.kind != ItemKind::Directory && item.kind != ItemKind::FullPathFile &&
        item.kind != ItemKind::BareFile)
        return std::string();
    return (::GetFileAttributesA(item.path.c_str()) == INVALID_FILE_ATTRIBUTES ? "Could not make: "
                                                                               : "Made: ") +
           item.path;
}

void LogRegistryValues(InstallLog* log, const std::string& keyPath) {
    CRegKeyHolder key;
    if (!log || key.Open(HKEY_CURRENT_USER, keyPath.c_str(), KEY_READ) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[2048];
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (::RegEnumValueA(key.m_hKey, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        std::string value;
        if (type == REG_SZ) {
            data[dataSize] = 0;
            value = reinterpret_cast<const char*>(data);
        } else if (type == REG_DWORD && dataSize == sizeof(DWORD)) {
            DWORD number;
            memcpy(&number, data, sizeof number);
            value = std::to_string(number);
        }
        log->Line("Registry value made: HKEY_CURRENT_USER\\" + keyPath + "\\" + name + " = " +
                  value);
    }
}

std::string RemovalLine(const std::string& itemText, const std::string& installDir) {
    using setupcore::ItemKind;
    const setupcore::RecordItem item = setupcore::ClassifyItem(itemText, IsAnsiLeadByte);
    switch (item.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
        return (RegistryItemExists(item) ? "Could not remove registry item "
                                         : "Removed registry item ") +
               itemText;
    case ItemKind::Directory:
    case ItemKind::BareFile:
    case ItemKind::FullPathFile: {
        const std::string path =
            item.kind == ItemKind::BareFile ? AppendPath(installDir, item.path) : item.path;
        // What could not go now was left to the restart.
        return (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
                    ? "Removed "
                    : "Scheduled for removal at restart: ") +
               path;
    }
    case ItemKind::Empty:
    case ItemKind::RegistryMalformed:
        break;
    }
    return "Skipped unusable item " + itemText;
}
