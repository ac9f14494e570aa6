// The install record: what an installation created, written into the install
// directory, and the removal of each recorded item at uninstall time.
#include "setup_dat.h"

#include "ansi_text.h"
#include "file_handle.h"
#include "read_or_tell.h"
#include "install_record_format.h"
#include "string_table.h"
#include "user_interface.h"
#include "path_helpers.h"
#include "path_text.h"
#include "reboot_delete.h"
#include "reg_key_holder.h"
#include "resource.h"

int CSetupDat::WriteInstallRecord(const std::string& recordFileName) {
    const std::string path = AppendPath(m_szInstallDir, recordFileName);
    setupcore::InstallRecordData record{m_szInstallDir, m_szReserved, {}};
    for (const auto& item : m_installed)
        record.items.push_back(item->szText.substr(0, static_cast<size_t>(item->nLength)));
    const std::string bytes = setupcore::EncodeInstallRecord(record);

    FileHandle file;
    if (!file.Create(path, GENERIC_READ | GENERIC_WRITE, 0) ||
        !file.Write(bytes.data(), static_cast<DWORD>(bytes.size()))) {
        AfxMessageBox(FormatResourceString(IDS_CANNOT_CREATE_FILE, path));
        return 0;
    }
    return 1;
}

int CSetupDat::ReadInstallRecord(const std::string& recordPath) {
    const std::string path = AppendPath(m_szSourceDir, recordPath);
    std::string contents;
    if (!ReadWholeFileOrTell(path, FILE_SHARE_READ | FILE_SHARE_WRITE, setupcore::kMaxRecordSize,
                             IDS_CANNOT_OPEN_INFO, IDS_INFO_INVALID, contents))
        return 0;
    setupcore::RecordParseResult parsed = setupcore::DecodeInstallRecord(
        reinterpret_cast<const uint8_t*>(contents.data()), contents.size());
    if (!parsed.Ok()) {
        AfxMessageBox(IDS_INFO_INVALID);
        return 0;
    }
    m_szReserved = parsed.record.reserved;
    for (const std::string& item : parsed.record.items)
        AddInstalledItem(item);
    SetDirectories(m_szSourceDir, parsed.record.installDir);
    return 1;
}

namespace {

void RemoveRegistryItem(const setupcore::ClassifiedItem& item) {
    CRegKeyHolder parent;
    if (parent.Open(HKEY_CURRENT_USER, item.parentKey.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return;
    if (item.kind == setupcore::ItemKind::RegistryKey)
        ::RegDeleteKeyA(parent.m_hKey, item.name.c_str());
    else
        ::RegDeleteValueA(parent.m_hKey, item.name.c_str());
}

} // namespace

int CSetupDat::RemoveItem(const std::string& text) {
    using setupcore::ItemKind;
    const setupcore::ClassifiedItem item = setupcore::ClassifyItem(text, IsAnsiLeadByte);
    switch (item.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
        RemoveRegistryItem(item);
        break;
    case ItemKind::Directory:
        RemoveDirectoryNowOrAtRestart(item.path);
        break;
    case ItemKind::BareFile:
    case ItemKind::FullPathFile: {
        DeleteFileNowOrAtRestart(
            item.kind == ItemKind::BareFile ? AppendPath(m_szInstallDir, item.path) : item.path);
        break;
    }
    case ItemKind::Empty:
    case ItemKind::RegistryMalformed:
        break; // names nothing that could be removed safely
    }
    return 1;
}

int CSetupDat::RemoveInstalled(const std::string& recordPath) {
    if (!ReadInstallRecord(recordPath))
        return 0;
    for (const auto& item : m_installed)
        RemoveItem(item->szText);
    RemoveItem(recordPath);
    return 1;
}
