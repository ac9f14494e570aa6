// The installation in memory: its directories, the package index's header
// strings, the packaged files, the obsolete files and the uninstall items.
// The object owns every entry and item it holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace setupcore {
struct PackageIndex;
struct PackagedFile;
} // namespace setupcore

class CopyProgress;
struct PackagedSource;

// One packaged file. Once installed, szName holds its full target path.
struct SetupFileEntry {
    std::string szName;
    int32_t bCompressed = 0;
};

// One thing an uninstallation must remove (at most 1023 bytes of text).
struct InstallRecordItem {
    int32_t nLength = 0;
    std::string szText;
};

class CSetupDat {
public:
    CSetupDat() = default;
    ~CSetupDat();
    CSetupDat(const CSetupDat&) = delete;
    CSetupDat& operator=(const CSetupDat&) = delete;

    void SetDirectories(const std::string& sourceDir, const std::string& installDir);

    // The package index: reads `fileName` from the source directory.
    int ReadSetupDat(const std::string& fileName);
    int AddFileEntry(int length, const char* name, int compressed);

    // The install record.
    int AddInstalledItem(const std::string& text, const char* prefix = nullptr);
    int WriteInstallRecord(const std::string& recordFileName);
    int ReadInstallRecord(const std::string& recordPath);
    int RemoveItem(const std::string& text);
    int RemoveInstalled(const std::string& recordPath);

    // The copy run: every packaged file installed, then the record written,
    // then the package cleared away. `progress`, when given, hears how far it got.
    int InstallFiles(const std::string& recordFileName, CopyProgress* progress = nullptr);

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
    // away again (files it overwrote are not among them).
    std::vector<std::string> m_createdPaths;
    // Removes what m_createdPaths names, last made first.
    void RemoveCreatedPaths();

private:
    void ReadHeader(const setupcore::PackageIndex& index);
    int ReadFileEntry(const setupcore::PackagedFile& file);
    std::vector<PackagedSource> PackagedSources() const;
    int CopyPackage(const std::vector<PackagedSource>& sources, CopyProgress* progress);
    void FreeFileEntries();
    void FreeInstalledItems();
};

extern CSetupDat theSetupDat;
