#include "packsetup/package_check.h"

#include "package_index.h"
#include "packaged_name_rule.h"
#include "version_text.h"
#include "packsetup/code_page.h"
#include "packsetup/name_case.h"
#include "packsetup/name_encoding.h"
#include "packsetup/path_display.h"
#include "packsetup/stored_layout.h"
#include "path_text.h"

#include <map>
#include <system_error>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

bool HasNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

using NameRule = setupcore::NameFault (*)(const std::string&, setupcore::LeadBytePredicate);

// What one header string or name must be.
struct TextRule {
    const char* label;
    size_t maxBytes; // in the code page
    bool required;
    NameRule rule; // none for header 2, which the installer never uses
};

const TextRule kAppExe{"the main program name (--app-exe)", setupcore::kMaxAppExe, true,
                       setupcore::CheckPackagedName};
const TextRule kHeader2{"header string 2 (--header2)", setupcore::kMaxHeader2, false, nullptr};
const TextRule kFolderName{"the folder name (--folder-name)", setupcore::kMaxFolderName, true,
                           setupcore::CheckFolderName};
const TextRule kPostInstall{"the post-install program (--post-install)", setupcore::kMaxPostInstall,
                            false, setupcore::CheckPackagedName};
const TextRule kPublisher{"the publisher (--publisher)", setupcore::kMaxPublisher, false, nullptr};
const TextRule kPackagedName{"the packaged name", setupcore::kMaxIndexName, true,
                             setupcore::CheckPackagedName};
const TextRule kObsoleteName{"the obsolete name", setupcore::kMaxIndexName, true,
                             setupcore::CheckPackagedName};

std::string Fault(const TextRule& rule, const std::string& text, const std::string& fault) {
    return std::string(rule.label) + " " + Quoted(text) + " " + fault;
}

// Windows refuses these in any file name; the installer would fail on them.
std::string WindowsNameFault(const std::string& name) {
    for (char ch : name)
        if (std::string("<>\"|?*").find(ch) != std::string::npos)
            return std::string("holds '") + ch + "', which Windows does not allow in a file name";
    return {};
}

// `text` in the code page, as long as it fits and follows its rule.
bool CheckText(const TextRule& rule, const std::string& text, unsigned codePage,
               std::string& encoded, std::string& error) {
    if (HasNul(text))
        error = Fault(rule, text, "holds a NUL byte");
    else if (!EncodeName(rule.label, text, codePage, encoded, error))
        return false;
    else if (encoded.size() > rule.maxBytes)
        error = Fault(rule, text,
                      "is " + std::to_string(encoded.size()) + " bytes long in code page " +
                          std::to_string(codePage) + "; the installer holds at most " +
                          std::to_string(rule.maxBytes));
    else if (rule.required && text.empty())
        error = std::string(rule.label) + " is empty; the installer needs it";
    else if (rule.rule && !encoded.empty()) {
        setupcore::NameFault fault = rule.rule(encoded, LeadBytesOf(codePage));
        if (fault != setupcore::NameFault::None)
            error = Fault(rule, text, setupcore::DescribeNameFault(fault));
    }
    return error.empty();
}

bool CheckFileName(const TextRule& rule, const std::string& name, unsigned codePage,
                   std::string& encoded, std::string& error) {
    if (!CheckText(rule, name, codePage, encoded, error))
        return false;
    std::string fault = WindowsNameFault(name);
    if (!fault.empty())
        error = Fault(rule, name, fault);
    return fault.empty();
}

bool CheckHeaders(const PackagePlan& plan, IndexNames& names, std::string& error) {
    return CheckText(kAppExe, plan.appExe, plan.codePage, names.appExe, error) &&
           CheckText(kHeader2, plan.header2, plan.codePage, names.header2, error) &&
           CheckText(kFolderName, plan.folderName, plan.codePage, names.folderName, error) &&
           CheckText(kPostInstall, plan.postInstall, plan.codePage, names.postInstall, error);
}

// The publisher is checked in the code page it is stored in, as the
// installer will write it into the registry.
bool CheckIdentity(const PackagePlan& plan, IndexNames& names, std::string& error) {
    setupcore::VersionNumbers numbers;
    if (!plan.version.empty() && !setupcore::ParseVersionText(plan.version, numbers)) {
        error = "the version (--version) " + Quoted(plan.version) +
                " is not two to four numbers of at most 65535 joined by dots, such as 1.2.3";
        return false;
    }
    names.identity.version = plan.version;
    if (!CheckText(kPublisher, plan.publisher, plan.codePage, names.identity.publisher, error))
        return false;
    if (!setupcore::IsStorableIdentity(names.identity)) {
        error = Fault(kPublisher, plan.publisher, "holds a control character");
        return false;
    }
    return true;
}

bool CheckNames(const TextRule& rule, const std::vector<std::string>& names, unsigned codePage,
                std::vector<std::string>& encoded, std::string& error) {
    encoded.assign(names.size(), std::string());
    for (size_t i = 0; i < names.size(); ++i)
        if (!CheckFileName(rule, names[i], codePage, encoded[i], error))
            return false;
    return true;
}

bool IsReservedFileName(const std::string& fileName) {
    const std::string lower = FoldCase(fileName);
    for (const char* reserved :
         {kIndexFileName, kLicenseFileName, kUrlFileName, kSetupExeFileName, kZlibFileName})
        if (lower == FoldCase(reserved))
            return true;
    return false;
}

std::string FoldedFolder(const std::string& storedName, size_t end) {
    return FoldCase(storedName.substr(0, end));
}

// The setup directory is one Windows directory tree, where names differing
// only in letter case are the same file, in any alphabet; its top level
// holds the fixed-name files too.
bool CheckStoredNames(const PackagePlan& plan, const std::vector<std::string>& stored,
                      std::string& error) {
    std::map<std::string, size_t> files; // folded stored name -> entry
    for (size_t i = 0; i < stored.size(); ++i) {
        const std::string& name = plan.entries[i].name;
        const std::string topLevel = stored[i].substr(0, stored[i].find('\\'));
        if (IsReservedFileName(topLevel)) {
            error = "the packaged file " + Quoted(name) + " would be stored as " +
                    Quoted(stored[i]) + ", " + (IsNested(stored[i]) ? "below " : "") +
                    "a name the setup directory keeps for itself";
            return false;
        }
        auto inserted = files.emplace(FoldCase(stored[i]), i);
        if (!inserted.second) {
            error = "the packaged files " + Quoted(plan.entries[inserted.first->second].name) +
                    " and " + Quoted(name) + " would both be stored as " + Quoted(stored[i]) +
                    " in the setup directory";
            return false;
        }
    }
    // A folder of a nested file cannot also be a stored file.
    for (size_t i = 0; i < stored.size(); ++i)
        for (size_t end = stored[i].find('\\'); end != std::string::npos;
             end = stored[i].find('\\', end + 1)) {
            auto file = files.find(FoldedFolder(stored[i], end));
            if (file == files.end())
                continue;
            error = "the packaged file " + Quoted(plan.entries[i].name) + " would be stored in " +
                    "the folder " + Quoted(stored[i].substr(0, end)) +
                    ", where the packaged file " + Quoted(plan.entries[file->second].name) +
                    " is stored";
            return false;
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

bool CheckFiles(const PackagePlan& plan, const std::vector<std::string>& stored,
                std::string& error) {
    for (size_t i = 0; i < plan.entries.size(); ++i)
        if (!CheckSource(plan.entries[i], error) ||
            !CheckNotItsOwnTarget(plan.entries[i].source, StoredFilePath(plan.outDir, stored[i]),
                                  error))
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

bool CheckPackage(const PackagePlan& plan, IndexNames& names, std::string& error) {
    error.clear();
    names = IndexNames();
    if (!IsAnsiCodePage(plan.codePage)) {
        error = "code page " + std::to_string(plan.codePage) +
                " is no ANSI code page of Windows (874, 932, 936, 949, 950, 1250 to 1258)";
        return false;
    }
    if (!CheckHeaders(plan, names, error) || !CheckIdentity(plan, names, error) ||
        !CheckNames(kObsoleteName, plan.obsoleteNames, plan.codePage, names.obsoleteNames, error))
        return false;
    if (plan.entries.empty()) {
        error = "the package holds no files";
        return false;
    }
    std::vector<std::string> entryNames;
    for (const PackageEntry& entry : plan.entries)
        entryNames.push_back(entry.name);
    const std::vector<std::string> stored = StoredNames(plan.entries);
    return CheckNames(kPackagedName, entryNames, plan.codePage, names.entryNames, error) &&
           CheckStoredNames(plan, stored, error) && CheckOutDir(plan, error) &&
           CheckFiles(plan, stored, error);
}

bool CheckPackage(const PackagePlan& plan, std::string& error) {
    IndexNames names;
    return CheckPackage(plan, names, error);
}

} // namespace packsetup
