#include "setup_dat.h"

#include "ansi_text.h"
#include "path_text.h"
#include "record_item.h"

#include <windows.h>

#include <new>

void CSetupDat::SetDirectories(const std::string& sourceDir, const std::string& installDir) {
    m_szSourceDir = sourceDir;
    m_szInstallDir = installDir;
}

bool CSetupDat::AddFileEntry(int length, const char* name, int compressed) {
    std::unique_ptr<SetupFileEntry> entry(new (std::nothrow) SetupFileEntry);
    if (!entry || length < 0)
        return false;
    std::string raw(name, static_cast<size_t>(length));
    entry->szName = setupcore::CopyWholeCharacters(raw, raw.size(), IsAnsiLeadByte);
    entry->bCompressed = compressed;
    m_files.push_back(std::move(entry));
    return true;
}

bool CSetupDat::AddInstalledItem(const setupcore::RecordItem& item) {
    return AddItemText(setupcore::EncodeItem(item));
}

bool CSetupDat::AddItemText(const std::string& text) {
    // The record keeps 1 to 1023 bytes an item; anything else could not be read back.
    if (text.empty() || text.size() > 1023)
        return false;
    std::unique_ptr<InstallRecordItem> item(new (std::nothrow) InstallRecordItem);
    if (!item)
        return false;
    item->szText = text;
    item->nLength = static_cast<int32_t>(item->szText.size());
    m_installed.push_back(std::move(item));
    return true;
}

void CSetupDat::UndoCopyRun() {
    m_replaced.PutBack();
    // Last made first: a directory's files and subdirectories go before it.
    for (auto path = m_createdPaths.rbegin(); path != m_createdPaths.rend(); ++path)
        if (!::DeleteFileA(path->c_str()))
            ::RemoveDirectoryA(path->c_str()); // a file that would not go leaves it non-empty
    m_createdPaths.clear();
    m_createdFiles.clear();
}
