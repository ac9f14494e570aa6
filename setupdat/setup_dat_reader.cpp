// Reading the package index (Setup.dat) into a package.
#include "package.h"

#include "ansi_text.h"
#include "byte_reader.h"
#include "package_index.h"
#include "path_helpers.h"
#include "path_text.h"
#include "whole_file.h"

#include <new>

namespace {

Package PackageOf(const setupcore::PackageIndex& index) {
    Package package;
    package.appExe = index.appExe;
    package.header2 = index.header2;
    package.folderName = index.folderName;
    package.postInstall = index.postInstall;
    for (const std::string& name : index.obsoleteFiles)
        package.obsoleteNames.push_back(setupcore::CutAtNul(name));
    for (const setupcore::PackagedFile& file : index.files)
        package.entries.push_back(
            {setupcore::CopyWholeCharacters(file.name, file.name.size(), IsAnsiLeadByte),
             file.compressed != 0});
    return package;
}

} // namespace

Problem CSetupDat::ReadSetupDat(const std::string& fileName, Package& package) const {
    const std::string path = AppendPath(sourceDir_, fileName);
    std::string contents;
    if (Problem problem =
            ReadWholeFileFor(path, 0, setupcore::kMaxIndexSize, ProblemKind::CannotOpenFile,
                             ProblemKind::FileInvalid, contents))
        return problem;
    const setupcore::IndexParseResult parsed = setupcore::ParsePackageIndex(
        reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), IsAnsiLeadByte);
    if (!parsed.Ok())
        return Problem::Of(ProblemKind::FileInvalid, path);
    try {
        package = PackageOf(parsed.index);
        package.identity = setupcore::DecodeIdentityTrailer(
            reinterpret_cast<const uint8_t*>(contents.data()) + parsed.end,
            contents.size() - parsed.end);
    } catch (const std::bad_alloc&) {
        return Problem::Of(ProblemKind::NoMemory);
    }
    return Problem();
}
