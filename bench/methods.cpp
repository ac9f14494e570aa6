#include "methods.h"

#include "bench_support.h"

namespace bench {

namespace {

constexpr const char* kCopyRunTitle = "Copy run (CSetupDat::InstallFiles)";
constexpr const char* kCopyFileTitle = "CopyFileA of the packaged files";
constexpr const char* kBareLoopTitle = "Bare zlib loop (ReadFile, inflate, WriteFile)";

} // namespace

const std::vector<Method>& Methods() {
    using F = FileSet;
    static const std::vector<Method> methods = {
        // name, title, part, work, files, reads package, deletes package
        {"idle", "Process start-up alone", Part::StartUp, Work::Nothing, F::None, false, false},

        {"installer-large", kCopyRunTitle, Part::Large, Work::CopyRun, F::Large, true, true},
        {"copy-large", kCopyFileTitle, Part::Large, Work::CopyFileA, F::Large, true, false},
        {"bare-large", kBareLoopTitle, Part::Large, Work::BareLoop, F::Large, true, false},

        {"installer-small", kCopyRunTitle, Part::Small, Work::CopyRun, F::Small, true, true},
        {"copy-small", kCopyFileTitle, Part::Small, Work::CopyFileA, F::Small, true, false},
        {"bare-small", kBareLoopTitle, Part::Small, Work::BareLoop, F::Small, true, false},

        {"directories-small", "Target directories (ExpandTargetPath per file)", Part::Steps,
         Work::TargetDirectories, F::Small, false, false},
        {"buffers-small", "Per-file buffers (a 256 KiB chunk, and an Inflater if compressed)",
         Part::Steps, Work::Buffers, F::Small, false, false},
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

const Method& FindMethod(Part part, Work work) {
    for (const Method& method : Methods()) {
        if (method.part == part && method.work == work)
            return method;
    }
    Die("no method does work %d in part %d", static_cast<int>(work), static_cast<int>(part));
}

size_t IndexOf(const Method& method) {
    return static_cast<size_t>(&method - Methods().data());
}

} // namespace bench
