#include "setup_dat.h"

#include "ansi_text.h"
#include "path_text.h"

#include <windows.h>

#include <new>

CSetupDat::~CSetupDat() {
    FreeFileEntries();
    FreeInstalledItems();
}

void CSetupDat::FreeFileEntries() {
    m_files.clear();
}

void CSetupDat::FreeInstalledItems() {
    m_installed.clear();
}

void CSetupDat::SetDirectories(const std::string& sourceDir, const std::string& installDir) {
    m_szSourceDir = sourceDir;
    m_szInstallDir = installDir;
}

int CSetupDat::AddFileEntry(int length, const char* name, int compressed) {
    std::unique_ptr<SetupFileEntry> entry(new (std::nothrow) SetupFileEntry);
    if (!entry || length < 0)
        return 0;
    std::string raw(name, static_cast<size_t>(length));
    entry->szName = setupcore::CopyWholeCharacters(raw, raw.size(), IsAnsiLeadByte);
    entry->bCompressed = compressed;
    m_files.push_back(std::move(entry));
    return 1;
}

int CSetupDat::AddInstalledItem(const std::string& text, const char* prefix) {
    std::unique_ptr<InstallRecordItem> item(new (std::nothrow) InstallRecordItem);
    if (!item)
        return 0;
    item->szText = prefix ? prefix + text : text;
    // The record keeps 1 to 1023 bytes an item; anything else could not be read back.
    if (item->szText.empty() || item->szText.size() > 1023)
        return 0;
    item->nLength = static_cast<int32_t>(item->szText.size());
    m_installed.push_back(std::move(item));
    return 1;
}

void CSetupDat::RemoveCreatedPaths() {
    // Last made first: a directory's files and subdirectories go before it.
    for (auto path = m_createdPaths.rbegin(); path != m_createdPaths.rend(); ++path)
        if (!::DeleteFileA(path->c_str()))
            ::RemoveDirectoryA(path->c_str());
    m_createdPaths.clear();
}
