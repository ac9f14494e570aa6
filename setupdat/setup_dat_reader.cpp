// Reading the package index (Setup.dat) into the installation object.
#include "setup_dat.h"

#include "ansi_text.h"
#include "byte_reader.h"
#include "read_or_tell.h"
#include "string_table.h"
#include "user_interface.h"
#include "package_index.h"
#include "path_helpers.h"
#include "path_text.h"
#include "resource.h"

int CSetupDat::ReadSetupDat(const std::string& fileName) {
    const std::string path = AppendPath(m_szSourceDir, fileName);
    std::string contents;
    if (!ReadWholeFileOrTell(path, 0, setupcore::kMaxIndexSize, IDS_CANNOT_OPEN_FILE,
                             IDS_FILE_INVALID, contents))
        return 0;
    setupcore::IndexParseResult parsed = setupcore::ParsePackageIndex(
        reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), IsAnsiLeadByte);
    if (!parsed.Ok()) {
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID, path));
        return 0;
    }
    ReadHeader(parsed.index);
    for (const setupcore::PackagedFile& file : parsed.index.files)
        if (!ReadFileEntry(file))
            return 0;
    return 1;
}

void CSetupDat::ReadHeader(const setupcore::PackageIndex& index) {
    m_szAppExe = index.appExe;
    m_szHeader2 = index.header2;
    m_szFolderName = index.folderName;
    m_szPostInstall = index.postInstall;
    for (const std::string& name : index.obsoleteFiles)
        m_obsoleteFiles.push_back(setupcore::CutAtNul(name));
}

int CSetupDat::ReadFileEntry(const setupcore::PackagedFile& file) {
    return AddFileEntry(static_cast<int>(file.name.size()), file.name.data(), file.compressed);
}
