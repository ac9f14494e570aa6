#include "install_log.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "record_item.h"
#include "reg_key_holder.h"

#include <windows.h>

#include <cstring>

namespace {} // namespace

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

std::string RemovalLine(const setupcore::RecordItem& item, ItemOutcome outcome,
                        const std::string& text) {
    using setupcore::ItemKind;
    const bool registry =
        item.kind == ItemKind::RegistryKey || item.kind == ItemKind::RegistryValue;
    const std::string what = registry ? "registry item " + text : item.path;
    switch (outcome) {
    case ItemOutcome::Removed:
        return "Removed " + what;
    case ItemOutcome::Scheduled:
        return "Scheduled for removal at restart: " + what;
    case ItemOutcome::Failed:
        return "Could not remove " + what;
    case ItemOutcome::Refused:
        break;
    }
    return item.kind == ItemKind::Empty || item.kind == ItemKind::RegistryMalformed
               ? "Left alone (not a usable item): " + text
               : "Left alone (not made by this installation): " + text;
}
