// A manifest as package input: a text file that lists the packaged files and
// the obsolete names, one directive a line.
//
//   # a comment line
//   file <source-path> <packaged-name> [plain]
//   obsolete <name>
//
// Fields are separated by blanks; a field holding blanks is written in double
// quotes (no escapes: backslashes stand for themselves). A relative source
// path is taken from the manifest's own folder. Files keep the manifest's
// order in the index.
#pragma once

#include "packsetup/package_plan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace packsetup {

struct ManifestContent {
    std::vector<PackageEntry> entries;
    std::vector<std::string> obsoleteNames;
};

// `label` names the manifest in messages; `baseDir` anchors relative sources.
bool ParseManifest(const std::string& text, const std::string& label,
                   const std::filesystem::path& baseDir, ManifestContent& content,
                   std::string& error);

bool ReadManifest(const std::filesystem::path& file, ManifestContent& content, std::string& error);

} // namespace packsetup
