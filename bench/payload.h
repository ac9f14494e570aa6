// The benchmark's packaged data: one large compressed file, many small files
// of which about half are compressed, and files in folders. All of it is
// generated text, packaged as the installer expects it (core/packaged_file.h);
// for the peer installers the same files are also written as installed.
#pragma once

#include "options.h"
#include "work_paths.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct PlannedFile {
    std::string name; // the entry's name: its path below the install directory
    bool compressed;
    uint32_t size;       // installed (uncompressed) size
    std::string package; // the packaged file's name: all lie side by side in one directory
};

// None: no files (the start-up floors). Large: part (a). Small: part (b).
// Folders: part (b2), the files spread over folders of 100.
enum class FileSet { None, Large, Small, Folders };
constexpr FileSet kPayloadSets[] = {FileSet::Large, FileSet::Small, FileSet::Folders};

// The files of a set, the same in every process given the same options.
std::vector<PlannedFile> FilesOf(FileSet set, const Options& options);
// A name for file names and progress lines: "large", "small", "folders"; "empty" for None.
const char* SetName(FileSet set);
// Where the generated packages of a set lie.
std::string PackageDirectory(const WorkPaths& paths, FileSet set);
// Where the set's files lie as installed, for the peers' build.
std::string RawDirectory(const WorkPaths& paths, FileSet set);

struct SetFacts {
    uint64_t bytes = 0;    // installed
    uint64_t packaged = 0; // as packaged for the copy run
    int files = 0, compressed = 0;
};

struct PayloadFacts {
    SetFacts sets[4]; // by FileSet
    const SetFacts& Of(FileSet set) const { return sets[static_cast<int>(set)]; }
};

// Writes every set's packages into a fresh `paths.packages` and, when `raw`,
// the installed files into a fresh `paths.raw`, reporting progress.
PayloadFacts GeneratePayload(const Options& options, const WorkPaths& paths, bool raw);

} // namespace bench
