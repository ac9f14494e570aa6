// The install record: what an installation created, written into the install
// directory, and the removal of each recorded item at uninstall time.
#include "setup_dat.h"

#include "ansi_text.h"
#include "file_handle.h"
#include "install_log.h"
#include "install_record_format.h"
#include "item_policy.h"
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
    if (Problem problem =
            ReadWholeFileFor(path, FILE_SHARE_READ | FILE_SHARE_WRITE, setupcore::kMaxRecordSize,
                             ProblemKind::CannotOpenRecord, ProblemKind::RecordInvalid, contents))
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

ItemOutcome OutcomeOf(Removal removal) {
    switch (removal) {
    case Removal::Removed:
        return ItemOutcome::Removed;
    case Removal::Scheduled:
        return ItemOutcome::Scheduled;
    case Removal::Failed:
        break;
    }
    return ItemOutcome::Failed;
}

bool IsGone(LONG result) {
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

ItemOutcome RemoveRegistryItem(const setupcore::RecordItem& item) {
    CRegKeyHolder parent;
    const LONG opened = parent.Open(HKEY_CURRENT_USER, item.parentKey.c_str(), KEY_ALL_ACCESS);
    if (opened != ERROR_SUCCESS)
        return IsGone(opened) ? ItemOutcome::Removed : ItemOutcome::Failed;
    const LONG deleted = item.kind == setupcore::ItemKind::RegistryKey
                             ? ::RegDeleteKeyA(parent.m_hKey, item.name.c_str())
                             : ::RegDeleteValueA(parent.m_hKey, item.name.c_str());
    return IsGone(deleted) ? ItemOutcome::Removed : ItemOutcome::Failed;
}

} // namespace

ItemOutcome CSetupDat::RemoveItem(const std::string& text, const ItemPolicy& policy) const {
    using setupcore::ItemKind;
    setupcore::RecordItem item = setupcore::ClassifyItem(text, IsAnsiLeadByte);
    if (item.kind == ItemKind::BareFile) {
        item.kind = ItemKind::FullPathFile;
        item.path = AppendPath(m_szInstallDir, item.path);
    }
    if (item.kind == ItemKind::Empty || item.kind == ItemKind::RegistryMalformed ||
        !policy.Allows(item))
        return ItemOutcome::Refused;
    switch (item.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
        return RemoveRegistryItem(item);
    case ItemKind::Directory:
        return OutcomeOf(RemoveDirectoryNowOrAtRestart(item.path));
    default:
        return OutcomeOf(DeleteFileNowOrAtRestart(item.path));
    }
}

Problem CSetupDat::RemoveInstalled(const std::string& recordPath, ItemPolicy& policy,
                                   std::vector<ItemLeft>& left, InstallLog* log) {
    if (Problem problem = ReadInstallRecord(recordPath))
        return problem;
    policy.Prepare(*this);
    for (const auto& item : m_installed) {
        const ItemOutcome outcome = RemoveItem(item->szText, policy);
        if (outcome == ItemOutcome::Failed || outcome == ItemOutcome::Refused)
            left.push_back({item->szText, outcome});
        LogLine(log, outcome == ItemOutcome::Refused
                         ? "Left alone (not made by this installation): " + item->szText
                         : RemovalLine(item->szText, m_szInstallDir));
    }
    // The record itself is no item of anyone's making: it goes last, always.
    if (DeleteFileNowOrAtRestart(recordPath) == Removal::Failed)
        left.push_back({recordPath, ItemOutcome::Failed});
    return Problem();
}
