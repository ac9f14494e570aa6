// The install record: what an installation created, written into the install
// directory, and the removal of each recorded item at uninstall time.
#include "setup_dat.h"

#include "ansi_text.h"
#include "file_handle.h"
#include "install_log.h"
#include "install_record_format.h"
#include "path_helpers.h"
#include "reboot_delete.h"
#include "record_item.h"
#include "reg_key_holder.h"
#include "whole_file.h"

Problem CSetupDat::WriteInstallRecord(const std::string& recordFileName) const {
    const std::string path = AppendPath(m_szInstallDir, recordFileName);
    setupcore::InstallRecordData record{m_szInstallDir, m_szReserved, {}};
    for (const auto& item : m_installed)
        record.items.push_back(item->szText.substr(0, static_cast<size_t>(item->nLength)));
    const std::string bytes = setupcore::EncodeInstallRecord(record);

    FileHandle file;
    if (!file.Create(path, GENERIC_READ | GENERIC_WRITE, 0) ||
        !file.Write(bytes.data(), static_cast<DWORD>(bytes.size())))
        return Problem::Of(ProblemKind::CannotCreateFile, path, ::GetLastError());
    return Problem();
}

Problem CSetupDat::ReadInstallRecord(const std::string& recordPath) {
    const std::string path = AppendPath(m_szSourceDir, recordPath);
    std::string contents;
    if (Problem problem = ReadWholeFileFor(path, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           ProblemKind::CannotOpenRecord, contents))
        return problem;
    setupcore::RecordParseResult parsed = setupcore::DecodeInstallRecord(
        reinterpret_cast<const uint8_t*>(contents.data()), contents.size());
    if (!parsed.Ok())
        return Problem::Of(ProblemKind::RecordInvalid, path);
    m_szReserved = parsed.record.reserved;
    for (const std::string& item : parsed.record.items)
        if (!AddItemText(item))
            return Problem::Of(ProblemKind::NoMemory);
    SetDirectories(m_szSourceDir, parsed.record.installDir);
    return Problem();
}

namespace {

void RemoveRegistryItem(const setupcore::RecordItem& item) {
    CRegKeyHolder parent;
    if (parent.Open(HKEY_CURRENT_USER, item.parentKey.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return; // the key is gone already: nothing left to remove
    if (item.kind == setupcore::ItemKind::RegistryKey)
        ::RegDeleteKeyA(parent.m_hKey, item.name.c_str());
    else
        ::RegDeleteValueA(parent.m_hKey, item.name.c_str());
}

} // namespace

void CSetupDat::RemoveItem(const std::string& text) const {
    using setupcore::ItemKind;
    const setupcore::RecordItem item = setupcore::ClassifyItem(text, IsAnsiLeadByte);
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
}

Problem CSetupDat::RemoveInstalled(const std::string& recordPath, InstallLog* log) {
    if (Problem problem = ReadInstallRecord(recordPath))
        return problem;
    for (const auto& item : m_installed) {
        RemoveItem(item->szText);
        LogLine(log, RemovalLine(item->szText, m_szInstallDir));
    }
    RemoveItem(recordPath);
    return Problem();
}
