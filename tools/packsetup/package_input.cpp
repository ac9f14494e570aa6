#include "packsetup/package_input.h"

#include "packsetup/best_deflate.h"

#include "packsetup/folder_input.h"
#include "packsetup/manifest.h"
#include "packsetup/package_check.h"
#include "packsetup/path_display.h"
#include "packsetup/stored_layout.h"
#include "path_text.h"

#include <algorithm>
#include <system_error>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

// An output directory inside the input folder would be packaged by the next
// build, its Setup.dat and stored files included.
bool OutsideInputFolder(const fs::path& folder, const fs::path& outDir, std::string& error) {
    std::error_code ec;
    fs::path in = fs::weakly_canonical(folder, ec);
    fs::path out = ec ? fs::path() : fs::weakly_canonical(outDir, ec);
    if (ec)
        return true; // the checks before writing report what cannot be reached
    auto differs = std::mismatch(in.begin(), in.end(), out.begin(), out.end());
    if (differs.first == in.end()) {
        error = "the output directory " + Quoted(outDir) + " lies inside the input folder " +
                Quoted(folder);
        return false;
    }
    return true;
}

bool ReadInput(const CommandLine& line, std::vector<PackageEntry>& entries,
               std::vector<std::string>& obsoleteNames, std::string& error) {
    fs::path input = fs::u8path(line.input);
    std::error_code ec;
    fs::file_status status = fs::status(input, ec);
    if (!fs::exists(status)) {
        error = "the input " + Quoted(input) + " does not exist";
        return false;
    }
    if (fs::is_directory(status))
        return OutsideInputFolder(input, fs::u8path(line.outDir), error) &&
               CollectFolder(input, entries, error);
    if (!fs::is_regular_file(status)) {
        error = "the input " + Quoted(input) + " is neither a folder nor a manifest file";
        return false;
    }
    ManifestContent manifest;
    if (!ReadManifest(input, manifest, error))
        return false;
    entries = manifest.entries;
    obsoleteNames.insert(obsoleteNames.end(), manifest.obsoleteNames.begin(),
                         manifest.obsoleteNames.end());
    return true;
}

void ApplyPlainRules(const CommandLine& line, std::vector<PackageEntry>& entries) {
    for (PackageEntry& entry : entries)
        if (line.allPlain || HasPlainExtension(StoredFileName(entry.name), line.plainExtensions))
            entry.plain = true;
}

} // namespace

bool HasPlainExtension(const std::string& fileName, const std::vector<std::string>& extensions) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = fileName.substr(dot + 1);
    for (std::string wanted : extensions) {
        if (!wanted.empty() && wanted[0] == '.')
            wanted.erase(0, 1);
        if (setupcore::EqualsIgnoringAsciiCase(extension, wanted))
            return true;
    }
    return false;
}

bool AssemblePlan(const CommandLine& line, PackagePlan& plan, std::string& error) {
    error.clear();
    plan = PackagePlan();
    if (line.best && !HaveBestEncoder()) {
        error = "--best: this build of packsetup has no stronger encoder (libdeflate)";
        return false;
    }
    plan.appExe = line.appExe;
    plan.header2 = line.header2;
    plan.best = line.best;
    plan.folderName = line.folderName;
    plan.postInstall = line.postInstall;
    plan.obsoleteNames = line.obsoleteNames;
    // The command line is UTF-8 on every system; u8path says so to Windows.
    plan.license = fs::u8path(line.license);
    plan.url = fs::u8path(line.url);
    plan.setupExe = fs::u8path(line.setupExe);
    plan.zlib = fs::u8path(line.zlib);
    plan.outDir = fs::u8path(line.outDir);
    plan.codePage = line.codePage;
    plan.version = line.version;
    plan.publisher = line.publisher;
    try {
        if (!ReadInput(line, plan.entries, plan.obsoleteNames, error))
            return false;
    } catch (const std::exception& e) {
        // A file name the file system library cannot convert.
        error = "the input " + Quoted(line.input) + " cannot be read: " + e.what();
        return false;
    }
    ApplyPlainRules(line, plan.entries);
    return true;
}

} // namespace packsetup
