// The installation in memory: its directories, the package index's header
// strings, the packaged files, the obsolete files and the uninstall items.
// The object owns every entry and item it holds. Its operations tell nobody
// anything: each returns the problem it met, for the caller to tell.
#pragma once

#include "item_policy.h"
#include "problem.h"
#include "replaced_files.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace setupcore {
struct PackageIndex;
struct PackagedFile;
struct RecordItem;
} // namespace setupcore

class CopyProgress;
class InstallLog;
class InstallPrompts;
struct PackagedSource;

// One packaged file: its name as the package gives it, and where it went.
struct SetupFileEntry {
    std::string szName; // relative to the install directory, maybe with "%SystemRoot%"
    int32_t bCompressed = 0;
    std::string targetPath; // the installed file's full path, once installed
    // Read from its whole name's place below the setup directory rather than
    // the flat one (packaged_source.h), once the copy run has looked.
    bool nestedSource = false;
};

// One thing an uninstallation must remove (at most 1023 bytes of text).
struct InstallRecordItem {
    int32_t nLength = 0;
    std::string szText;
};

class CSetupDat {
public:
    CSetupDat() = default;
    CSetupDat(const CSetupDat&) = delete;
    CSetupDat& operator=(const CSetupDat&) = delete;

    void SetDirectories(const std::string& sourceDir, const std::string& installDir);

    // The package index: reads `fileName` from the source directory.
    Problem ReadSetupDat(const std::string& fileName);
    bool AddFileEntry(int length, const char* name, int compressed);

    // The install record.
    bool AddInstalledItem(const setupcore::RecordItem& item);
    // Writes the record, then the made list beside it (made_list.h).
    Problem WriteInstallRecord(const std::string& recordFileName) const;
    Problem ReadInstallRecord(const std::string& recordPath);
    // What a stored item names, its path in canonical form (a bare name put
    // below the install directory); an Empty item when the path has none.
    setupcore::RecordItem ResolveItem(const std::string& text) const;
    // Removes what one item names, when `policy` allows it.
    ItemOutcome RemoveItem(const std::string& text, const ItemPolicy& policy) const;
    ItemOutcome RemoveResolvedItem(const setupcore::RecordItem& item,
                                   const ItemPolicy& policy) const;
    // Reads the record at `recordPath` and removes every item it names that
    // `policy` allows, in order, then the record itself; removes nothing when
    // it cannot be read. Items not removed nor scheduled go to `left`, and
    // each item's removal to `log`, when given; the files (items and the
    // record) left to the next restart go to `scheduledFiles`, when given.
    Problem RemoveInstalled(const std::string& recordPath, ItemPolicy& policy,
                            std::vector<ItemLeft>& left, InstallLog* log = nullptr,
                            std::vector<std::string>* scheduledFiles = nullptr);

    // The copy run: the obsolete files deleted, every packaged file installed,
    // then the record written, then the package cleared away. `prompts` is
    // asked about files in use; `progress`, when given, hears how far it got.
    Problem InstallFiles(const std::string& recordFileName, InstallPrompts& prompts,
                         CopyProgress* progress = nullptr);

    std::string m_szInstallDir;
    std::string m_szSourceDir;
    std::string m_szReserved;
    std::string m_szAppExe;
    std::string m_szHeader2;
    std::string m_szFolderName;
    std::string m_szPostInstall;
    std::vector<std::unique_ptr<SetupFileEntry>> m_files;
    std::vector<std::unique_ptr<InstallRecordItem>> m_installed;
    std::vector<std::string> m_obsoleteFiles;
    // Every directory and file that this installation made where nothing
    // stood before, in the order made, so that a failed run can take them
    // away again (files it replaced are not among them).
    std::vector<std::string> m_createdPaths;
    // The files among them: every other created path is a folder made.
    std::vector<std::string> m_createdFiles;
    // The files of an earlier installation that the copy run replaces or
    // deletes, until the installation stands.
    ReplacedFiles m_replaced;
    // After a failed run: every replaced file back as it was, then what
    // m_createdPaths names removed, last made first.
    void UndoCopyRun();

private:
    void ReadHeader(const setupcore::PackageIndex& index);
    bool ReadFileEntry(const setupcore::PackagedFile& file);
    bool AddItemText(const std::string& text);
    // Where each packaged file is read from, noted in its entry too.
    std::vector<PackagedSource> PackagedSources();
    Problem CopyPackage(const std::vector<PackagedSource>& sources, InstallPrompts& prompts,
                        CopyProgress* progress);
};
