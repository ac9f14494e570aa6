#include "methods.h"

#include "bench_support.h"

namespace bench {

namespace {

constexpr const char* kCopyRunTitle = "Copy run (InstallFiles)";
constexpr const char* kCopyFileTitle = "CopyFileA of the packaged files";
constexpr const char* kBareLoopTitle = "Bare zlib loop (ReadFile, inflate, WriteFile)";
constexpr const char* kZlibTitle = "NSIS installer, zlib (/S)";
constexpr const char* kLzmaTitle = "NSIS installer, LZMA solid (/S)";

} // namespace

const std::vector<Method>& Methods() {
    using F = FileSet;
    static const std::vector<Method> methods = {
        // name, title, part, work, files, reads package, deletes package, peer
        {"idle", "Process start-up alone (this program, no work)", Part::StartUp, Work::Nothing,
         F::None, false, false},
        {"nsis-zlib-empty", "Empty NSIS installer, zlib (/S)", Part::StartUp, Work::Installer,
         F::None, false, false, Peer::NsisZlib},
        {"nsis-lzma-empty", "Empty NSIS installer, LZMA solid (/S)", Part::StartUp, Work::Installer,
         F::None, false, false, Peer::NsisLzma},

        {"installer-large", kCopyRunTitle, Part::Large, Work::CopyRun, F::Large, true, true},
        {"copy-large", kCopyFileTitle, Part::Large, Work::CopyFileA, F::Large, true, false},
        {"bare-large", kBareLoopTitle, Part::Large, Work::BareLoop, F::Large, true, false},
        {"inflate1-large", "Inflating alone in memory, one thread (no reading, no writing)",
         Part::Large, Work::InflateOneThread, F::Large, true, false},
        {"inflate2-large", "Inflating alone in memory, a thread a file", Part::Large,
         Work::InflateSideBySide, F::Large, true, false},
        {"nsis-zlib-large", kZlibTitle, Part::Large, Work::Installer, F::Large, false, false,
         Peer::NsisZlib},
        {"nsis-lzma-large", kLzmaTitle, Part::Large, Work::Installer, F::Large, false, false,
         Peer::NsisLzma},

        {"installer-small", kCopyRunTitle, Part::Small, Work::CopyRun, F::Small, true, true},
        {"copy-small", kCopyFileTitle, Part::Small, Work::CopyFileA, F::Small, true, false},
        {"bare-small", kBareLoopTitle, Part::Small, Work::BareLoop, F::Small, true, false},
        {"nsis-zlib-small", kZlibTitle, Part::Small, Work::Installer, F::Small, false, false,
         Peer::NsisZlib},
        {"nsis-lzma-small", kLzmaTitle, Part::Small, Work::Installer, F::Small, false, false,
         Peer::NsisLzma},

        {"installer-folders", kCopyRunTitle, Part::Folders, Work::CopyRun, F::Folders, true, true},
        {"copy-folders", kCopyFileTitle, Part::Folders, Work::CopyFileA, F::Folders, true, false},
        {"bare-folders", kBareLoopTitle, Part::Folders, Work::BareLoop, F::Folders, true, false},
        {"nsis-zlib-folders", kZlibTitle, Part::Folders, Work::Installer, F::Folders, false, false,
         Peer::NsisZlib},
        {"nsis-lzma-folders", kLzmaTitle, Part::Folders, Work::Installer, F::Folders, false, false,
         Peer::NsisLzma},

        {"directories-small", "Target directories (the run's directory cache, per file)",
         Part::Steps, Work::TargetDirectories, F::Small, false, false},
        {"readahead-small", "Read-ahead stream alone (reading and inflating, no writing)",
         Part::Steps, Work::ReadAhead, F::Small, true, false},
        {"cleanup-small", "Deleting the packaged copies (DeleteFileA per file)", Part::Steps,
         Work::PackageDeletion, F::Small, true, true},
        {"record-small", "Install record (WriteInstallRecord, once)", Part::Steps,
         Work::InstallRecord, F::Small, false, false},
    };
    return methods;
}

const Method* FindMethod(const std::string& name) {
    for (const Method& method : Methods()) {
        if (name == method.name)
            return &method;
    }
    return nullptr;
}

const Method& FindMethod(Part part, Work work, Peer peer) {
    for (const Method& method : Methods()) {
        if (method.part == part && method.work == work && method.peer == peer)
            return method;
    }
    Die("no method does work %d in part %d", static_cast<int>(work), static_cast<int>(part));
}

size_t IndexOf(const Method& method) {
    return static_cast<size_t>(&method - Methods().data());
}

Part PartOf(FileSet set) {
    switch (set) {
    case FileSet::Large:
        return Part::Large;
    case FileSet::Small:
        return Part::Small;
    case FileSet::Folders:
        return Part::Folders;
    case FileSet::None:
        break;
    }
    return Part::StartUp;
}

const char* PeerTitle(Peer peer) {
    return peer == Peer::NsisZlib ? "NSIS zlib" : peer == Peer::NsisLzma ? "NSIS LZMA solid" : "";
}

} // namespace bench
