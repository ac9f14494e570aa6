#include "packsetup/package_check.h"

#include "package_index.h"
#include "packsetup/path_display.h"
#include "path_text.h"

#include <map>
#include <system_error>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

std::string Lowercase(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

bool HasNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

bool CheckHeader(const char* label, const std::string& text, size_t max, bool required,
                 std::string& error) {
    if (HasNul(text))
        error = std::string(label) + " " + Quoted(text) + " holds a NUL byte";
    else if (text.size() > max)
        error = std::string(label) + " " + Quoted(text) + " is " + std::to_string(text.size()) +
                " bytes long; the installer holds at most " + std::to_string(max);
    else if (required && text.empty())
        error = std::string(label) + " is empty; the installer needs it";
    return error.empty();
}

bool CheckHeaders(const PackagePlan& plan, std::string& error) {
    return CheckHeader("the main program name (--app-exe)", plan.appExe, setupcore::kMaxAppExe,
                       true, error) &&
           CheckHeader("header string 2 (--header2)", plan.header2, setupcore::kMaxHeader2, false,
                       error) &&
           CheckHeader("the folder name (--folder-name)", plan.folderName,
                       setupcore::kMaxFolderName, true, error) &&
           CheckHeader("the post-install program (--post-install)", plan.postInstall,
                       setupcore::kMaxPostInstall, false, error);
}

// Windows opens these as devices whatever the extension.
bool IsDeviceName(const std::string& fileName) {
    std::string stem = Lowercase(fileName.substr(0, fileName.find('.')));
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// Why `name` cannot stand in the index as a file below the install
// directory, or an empty text when it can.
std::string NameFault(const std::string& name) {
    if (HasNul(name))
        return "holds a NUL byte";
    if (name.empty())
        return "is empty";
    if (name.size() > static_cast<size_t>(setupcore::kMaxIndexName))
        return "is " + std::to_string(name.size()) + " bytes long; the index holds at most " +
               std::to_string(setupcore::kMaxIndexName);
    for (char ch : name) {
        auto byte = static_cast<unsigned char>(ch);
        // The installer reads names in the installing machine's code page,
        // which the package cannot know: only ASCII means the same everywhere.
        if (byte < 0x20 || byte > 0x7E)
            return "holds a byte outside printable ASCII";
        if (ch == '/')
            return "holds a forward slash; packaged names separate folders with backslashes";
        if (std::string("<>:\"|?*").find(ch) != std::string::npos)
            return std::string("holds '") + ch + "', which Windows does not allow in a file name";
    }
    if (name.back() == '\\')
        return "ends in a backslash, so it names a folder rather than a file";
    std::string fileName = StoredFileName(name);
    if (fileName.back() == '.' || fileName.back() == ' ')
        return "ends in a dot or a space, which Windows drops from a file name";
    if (IsDeviceName(fileName))
        return "is a device name on Windows";
    return {};
}

bool CheckName(const char* label, const std::string& name, std::string& error) {
    std::string fault = NameFault(name);
    if (!fault.empty())
        error = std::string(label) + " " + Quoted(name) + " " + fault;
    return fault.empty();
}

bool CheckObsoleteNames(const PackagePlan& plan, std::string& error) {
    for (const std::string& name : plan.obsoleteNames)
        if (!CheckName("the obsolete name", name, error))
            return false;
    return true;
}

bool IsReservedFileName(const std::string& fileName) {
    const std::string lower = Lowercase(fileName);
    for (const char* reserved :
         {kIndexFileName, kLicenseFileName, kUrlFileName, kSetupExeFileName, kZlibFileName})
        if (lower == Lowercase(reserved))
            return true;
    return false;
}

// Packaged files lie flat in one Windows directory, where names differing
// only in letter case are the same file.
bool CheckStoredNames(const PackagePlan& plan, std::string& error) {
    std::map<std::string, const std::string*> seen;
    for (const PackageEntry& entry : plan.entries) {
        std::string fileName = StoredFileName(entry.name);
        if (IsReservedFileName(fileName)) {
            error = "the packaged file " + Quoted(entry.name) + " would be stored as " +
                    Quoted(fileName) + ", a name the setup directory keeps for itself";
            return false;
        }
        auto inserted = seen.emplace(Lowercase(fileName), &entry.name);
        if (!inserted.second) {
            error = "the packaged files " + Quoted(*inserted.first->second) + " and " +
                    Quoted(entry.name) + " would both be stored as " + Quoted(fileName) +
                    " in the flat setup directory";
            return false;
        }
    }
    return true;
}

bool CheckRegularFile(const std::string& what, const fs::path& path, std::string& error) {
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        error = what + " " + Quoted(path) + " does not exist";
    else if (!fs::is_regular_file(status))
        error = what + " " + Quoted(path) + " is not a regular file";
    return error.empty();
}

bool CheckSource(const PackageEntry& entry, std::string& error) {
    const std::string what = "the source of " + Quoted(entry.name) + ",";
    if (entry.source.native().find(fs::path::value_type(0)) != fs::path::string_type::npos) {
        error = what + " " + Quoted(entry.source) + ", holds a NUL byte";
        return false;
    }
    if (!CheckRegularFile(what, entry.source, error))
        return false;
    std::error_code ec;
    uintmax_t size = fs::file_size(entry.source, ec);
    if (ec) {
        error = "cannot read the size of " + Quoted(entry.source) + ": " + ec.message();
        return false;
    }
    if (!entry.plain && size > kMaxCompressedInput) {
        error = Quoted(entry.source) + " (packaged as " + Quoted(entry.name) + ") is " +
                std::to_string(size) +
                " bytes; a compressed file records its length as an int32, so it can hold at "
                "most 2 GiB - 1 bytes";
        return false;
    }
    return true;
}

struct ExtraFile {
    const char* what;
    const fs::path* source;
    const char* storedAs;
};

std::vector<ExtraFile> ExtraFiles(const PackagePlan& plan) {
    return {{"the license file (--license)", &plan.license, kLicenseFileName},
            {"the URL file (--url)", &plan.url, kUrlFileName},
            {"the setup program (--setup-exe)", &plan.setupExe, kSetupExeFileName},
            {"zlib (--zlib)", &plan.zlib, kZlibFileName}};
}

// A source that is already the file it would be written to would be
// truncated before it is read.
bool CheckNotItsOwnTarget(const fs::path& source, const fs::path& target, std::string& error) {
    std::error_code ec;
    if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) {
        error = Quoted(source) + " is the very file the package would write over it; take the "
                                 "sources from outside the output directory";
        return false;
    }
    return true;
}

bool CheckFiles(const PackagePlan& plan, std::string& error) {
    for (const PackageEntry& entry : plan.entries)
        if (!CheckSource(entry, error) ||
            !CheckNotItsOwnTarget(entry.source, plan.outDir / StoredFileName(entry.name), error))
            return false;
    for (const ExtraFile& extra : ExtraFiles(plan))
        if (!extra.source->empty() &&
            (!CheckRegularFile(extra.what, *extra.source, error) ||
             !CheckNotItsOwnTarget(*extra.source, plan.outDir / extra.storedAs, error)))
            return false;
    return true;
}

bool CheckOutDir(const PackagePlan& plan, std::string& error) {
    if (plan.outDir.empty()) {
        error = "no output directory is given";
        return false;
    }
    std::error_code ec;
    fs::file_status status = fs::status(plan.outDir, ec);
    if (fs::exists(status) && !fs::is_directory(status)) {
        error = "the output directory " + Quoted(plan.outDir) + " exists and is not a directory";
        return false;
    }
    return true;
}

} // namespace

std::string StoredFileName(const std::string& packagedName) {
    return setupcore::FileNamePart(packagedName, true, setupcore::NoLeadBytes);
}

bool CheckPackage(const PackagePlan& plan, std::string& error) {
    error.clear();
    if (!CheckHeaders(plan, error) || !CheckObsoleteNames(plan, error))
        return false;
    if (plan.entries.empty()) {
        error = "the package holds no files";
        return false;
    }
    for (const PackageEntry& entry : plan.entries)
        if (!CheckName("the packaged name", entry.name, error))
            return false;
    return CheckStoredNames(plan, error) && CheckOutDir(plan, error) && CheckFiles(plan, error);
}

} // namespace packsetup
