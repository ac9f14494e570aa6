// The install record: what an installation created, written into the install
// directory, and the removal of each recorded item at uninstall time.
#include "setup_dat.h"

#include "ansi_text.h"
#include "file_handle.h"
#include "install_log.h"
#include "install_record_format.h"
#include "item_policy.h"
#include "made_list.h"
#include "path_scope.h"
#include "path_helpers.h"
#include "reboot_delete.h"
#include "record_item.h"
#include "reg_key_holder.h"
#include "whole_file.h"

#include <unordered_set>

namespace {

// The folders and the Windows directory's files among what the run created.
MadeList MadeListOf(const std::vector<std::string>& created,
                    const std::vector<std::string>& createdFiles) {
    MadeList list;
    const std::string windows = WindowsDirectory();
    const std::unordered_set<std::string> files(createdFiles.begin(), createdFiles.end());
    for (const std::string& path : created) {
        if (!files.count(path))
            list.folders.push_back(path);
        else if (setupcore::IsStrictlyBelow(path, windows, IsAnsiLeadByte))
            list.windowsFiles.push_back(path);
    }
    return list;
}

} // namespace

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
    file = FileHandle();
    return WriteMadeList(m_szInstallDir, setupcore::MadeListFileName(recordFileName),
                         MadeListOf(m_createdPaths, m_createdFiles));
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

setupcore::RecordItem CSetupDat::ResolveItem(const std::string& text) const {
    using setupcore::ItemKind;
    setupcore::RecordItem item = setupcore::ClassifyItem(text, IsAnsiLeadByte);
    if (item.kind != ItemKind::Directory && item.kind != ItemKind::FullPathFile &&
        item.kind != ItemKind::BareFile)
        return item;
    // A bare name lies below the install directory; either way the path is
    // checked and removed in its one canonical form.
    const setupcore::CanonicalPath canonical = CanonicalPathOf(
        item.path, item.kind == ItemKind::BareFile ? m_szInstallDir : std::string());
    if (!canonical)
        return setupcore::RecordItem();
    item.path = canonical.path;
    if (item.kind == ItemKind::BareFile)
        item.kind = ItemKind::FullPathFile;
    return item;
}

ItemOutcome CSetupDat::RemoveItem(const std::string& text, const ItemPolicy& policy) const {
    return RemoveResolvedItem(ResolveItem(text), policy);
}

ItemOutcome CSetupDat::RemoveResolvedItem(const setupcore::RecordItem& item,
                                          const ItemPolicy& policy) const {
    using setupcore::ItemKind;
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
                                   std::vector<ItemLeft>& left, InstallLog* log,
                                   std::vector<std::string>* scheduledFiles) {
    if (Problem problem = ReadInstallRecord(recordPath))
        return problem;
    policy.Prepare(*this);
    const auto noteScheduled = [&](const std::string& path) {
        if (scheduledFiles)
            scheduledFiles->push_back(path);
    };
    for (const auto& stored : m_installed) {
        const setupcore::RecordItem item = ResolveItem(stored->szText);
        const ItemOutcome outcome = RemoveResolvedItem(item, policy);
        if (outcome == ItemOutcome::Failed || outcome == ItemOutcome::Refused)
            left.push_back({stored->szText, outcome});
        if (outcome == ItemOutcome::Scheduled && item.kind != setupcore::ItemKind::Directory)
            noteScheduled(item.path);
        LogLine(log, RemovalLine(item, outcome, stored->szText));
    }
    // The record itself is no item of anyone's making: it goes last, always.
    const Removal record = DeleteFileNowOrAtRestart(recordPath);
    if (record == Removal::Failed)
        left.push_back({recordPath, ItemOutcome::Failed});
    if (record == Removal::Scheduled)
        noteScheduled(recordPath);
    return Problem();
}
