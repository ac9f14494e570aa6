// The package as the index describes it, read once and never written back:
// the header strings, the obsolete files' names and the packaged files in
// order. Where an installation puts them, and what became of them, is the
// installation's (install_transaction.h), not the package's.
#pragma once

#include "package_identity.h"
#include "problem.h"

#include <string>
#include <vector>

struct PackageEntry {
    std::string name; // relative to the install directory, maybe with "%SystemRoot%"
    bool compressed = false;
};

struct Package {
    std::string appExe;      // the main program, relative to the install directory
    std::string header2;     // kept as read; nothing uses it
    std::string folderName;  // the default install folder and program group
    std::string postInstall; // started with " /I" after the wizard; may be empty
    std::vector<std::string> obsoleteNames;
    std::vector<PackageEntry> entries;
    // The version and publisher the publisher stated, when it did.
    setupcore::PackageIdentity identity;
};

// The reader of the package index, "Setup.dat" in the setup directory.
class CSetupDat {
public:
    explicit CSetupDat(std::string sourceDir) : sourceDir_(std::move(sourceDir)) {}
    // Reads `fileName` from the source directory into `package`; the problem
    // that refuses it (the file, or memory), and then `package` is untouched.
    Problem ReadSetupDat(const std::string& fileName, Package& package) const;

private:
    std::string sourceDir_;
};
