// What a package is made of, once the input has been read: the four header
// strings, the obsolete names, the packaged files in index order and the
// fixed-name files that go beside them. Building turns it into a setup
// directory.
#pragma once

#include "packsetup/code_page.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace packsetup {

// Names and header strings are UTF-8 here; the index holds them in `codePage`.
struct PackageEntry {
    std::filesystem::path source; // the file to package
    std::string name;   // packaged name, relative to the install directory, '\' between parts
    bool plain = false; // stored as it is instead of compressed
};

struct PackagePlan {
    std::string appExe;      // header 1: the main program, relative to the install directory
    std::string header2;     // header 2: kept by the installer, used by nothing
    std::string folderName;  // header 3: default install folder and program group
    std::string postInstall; // header 4: program started with " /I" after the wizard
    std::vector<std::string> obsoleteNames; // deleted from the install directory before copying
    std::vector<PackageEntry> entries;      // in index order
    // Optional files copied beside the index under fixed names; empty means none.
    std::filesystem::path license;        // License.txt
    std::filesystem::path url;            // URL.txt
    std::filesystem::path setupExe;       // Setup.exe
    std::filesystem::path zlib;           // zlib1.dll
    std::filesystem::path outDir;         // the setup directory to write; created when missing
    unsigned codePage = kDefaultCodePage; // the ANSI code page of the installing machines
    // What the package says about itself; both empty, the index is as ever.
    std::string version;   // X.Y[.Z[.W]]
    std::string publisher; // UTF-8 here, in `codePage` in the package
    bool best = false;                    // compressed with the stronger encoder (best_deflate.h)
};

// The names the setup directory reserves for itself: a packaged file stored
// under one of them would overwrite it.
constexpr const char* kIndexFileName = "Setup.dat";
constexpr const char* kLicenseFileName = "License.txt";
constexpr const char* kUrlFileName = "URL.txt";
constexpr const char* kSetupExeFileName = "Setup.exe";
constexpr const char* kZlibFileName = "zlib1.dll";

// A compressed file starts with its uncompressed length as an int32.
constexpr uint64_t kMaxCompressedInput = 0x7FFFFFFF;

} // namespace packsetup
