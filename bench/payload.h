// The benchmark's packaged data: one large compressed file, and many small
// files of which about half are compressed. Both are made of generated text
// and packaged as the installer expects them (core/packaged_file.h).
#pragma once

#include "options.h"
#include "work_paths.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct PlannedFile {
    std::string name;
    bool compressed;
    uint32_t size; // installed (uncompressed) size
};

enum class FileSet { None, Large, Small };

// The files of a set, the same in every process given the same options.
std::vector<PlannedFile> FilesOf(FileSet set, const Options& options);
// Where the generated packages of a set lie.
std::string PackageDirectory(const WorkPaths& paths, FileSet set);

struct PayloadFacts {
    uint64_t largeBytes = 0, largePackage = 0;
    uint64_t smallBytes = 0, smallPackages = 0;
    int smallCompressed = 0;
};

// Writes both sets into a fresh `paths.packages`, reporting progress.
PayloadFacts GeneratePayload(const Options& options, const WorkPaths& paths);

} // namespace bench
