// One copy run, file after file: the target's directories, the target opened
// (asking about a file in use), the package's bytes written, the progress
// told. The bytes may be read ahead on a worker thread; every message and
// prompt is shown here, on the caller's thread, in the order of the files.
#pragma once

#include "known_directories.h"
#include "package_stream.h"
#include "problem.h"

#include <string>
#include <vector>

class CopyProgress;
class InstallTransaction;
class InstallPrompts;
class FileHandle;

class CopyRun {
public:
    // Starts reading `sources`, the packaged files of the run's package in
    // order (std::bad_alloc when the buffers cannot be had).
    CopyRun(InstallTransaction& run, const std::vector<PackagedSource>& sources,
            InstallPrompts& prompts, CopyProgress* progress);

    // Installs the `index`th file of the package, whose target path the run
    // then holds; the problem that stops the run, if any.
    Problem ExtractFile(size_t index);

private:
    Problem ExpandTarget(std::string& path);
    // Opens where the target's bytes go: a new target itself, recorded as
    // made; for one that exists, once it may be replaced, a successor beside it.
    Problem OpenTarget(const std::string& path, FileHandle& target);
    // Asks while another program holds the file at `path`.
    Problem WaitUntilReplaceable(const std::string& path);
    bool CreateNewTarget(const std::string& path, FileHandle& target);
    // Makes the directories of a target that are missing, each logged.
    bool EnsureDirectory(const std::string& directory);
    // Writes the file's pieces, the first given, up to its last; the problem
    // when a write fails or the source did.
    Problem WriteTarget(const Piece* piece, size_t index, FileHandle& target,
                        const std::string& targetPath);
    // After a file's last piece was written, with the checksum of all its
    // bytes: whether its source gave it whole.
    Problem SourceWhole(const Piece& last, size_t index, uint32_t adler);
    // The next piece of the package, in order; null when nothing follows.
    const Piece* NextPiece();

    InstallTransaction& run_;
    std::vector<PackagedSource> sources_;
    InstallPrompts& prompts_;
    CopyProgress* progress_;
    KnownDirectories directories_;
    PackageStream stream_;
    const Chunk* chunk_ = nullptr;
    size_t nextPiece_ = 0;
    uint64_t installedBefore_ = 0; // packaged bytes of the files already installed
};
