#include "setup_context.h"

#include "path_helpers.h"
#include "record_item.h"

void SetupContext::StartFrom(const std::string& programPath) {
    g_szSetupPath = programPath;
    g_strInfoFileName = RecordFileNameFor(programPath);
}

void SetupContext::DerivePackageNames() {
    g_strDisplayName = ExtractFileName(package.folderName, false);
    g_strDefaultGroup = package.folderName;
}

std::string SetupContext::SetupDirectory() const {
    // In its canonical form where it has one: the nested packaged files and
    // the sweep are checked against it.
    const std::string directory = ExtractDirectory(g_szSetupPath);
    const setupcore::CanonicalPath canonical = CanonicalPathOf(directory);
    return canonical ? canonical.path : directory;
}

std::string SetupContext::SetupFileName() const {
    return ExtractFileName(g_szSetupPath, true);
}

std::string RecordFileNameFor(const std::string& programPath) {
    return setupcore::RecordFileName(ExtractFileName(programPath, false));
}
