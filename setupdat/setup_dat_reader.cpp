// Reading the package index (Setup.dat) into the installation object.
#include "setup_dat.h"

#include "ansi_text.h"
#include "byte_reader.h"
#include "package_index.h"
#include "path_helpers.h"
#include "path_text.h"
#include "whole_file.h"

Problem CSetupDat::ReadSetupDat(const std::string& fileName) {
    const std::string path = AppendPath(m_szSourceDir, fileName);
    std::string contents;
    if (Problem problem = ReadWholeFileFor(path, 0, setupcore::kMaxIndexSize,
                                           ProblemKind::CannotOpenFile, ProblemKind::FileInvalid,
                                           contents))
        return problem;
    setupcore::IndexParseResult parsed = setupcore::ParsePackageIndex(
        reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), IsAnsiLeadByte);
    if (!parsed.Ok())
        return Problem::Of(ProblemKind::FileInvalid, path);
    ReadHeader(parsed.index);
    for (const setupcore::PackagedFile& file : parsed.index.files)
        if (!ReadFileEntry(file))
            return Problem::Of(ProblemKind::NoMemory);
    return Problem();
}

void CSetupDat::ReadHeader(const setupcore::PackageIndex& index) {
    m_szAppExe = index.appExe;
    m_szHeader2 = index.header2;
    m_szFolderName = index.folderName;
    m_szPostInstall = index.postInstall;
    for (const std::string& name : index.obsoleteFiles)
        m_obsoleteFiles.push_back(setupcore::CutAtNul(name));
}

bool CSetupDat::ReadFileEntry(const setupcore::PackagedFile& file) {
    return AddFileEntry(static_cast<int>(file.name.size()), file.name.data(), file.compressed);
}
