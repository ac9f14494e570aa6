// The command line:
//   extract_bench [--large-mib N] [--small-count N] [--folder-count N] [--reps N]
//                 [--breakdown] [--no-peers] [--nsis-target x86|amd64]
// and, for a child run, extract_bench --run <method> <work directory> followed
// by the sizes the parent used.
#pragma once

#include <string>

namespace bench {

// The NSIS stub the peer installers are built on. By default the benchmark's
// own: a 64-bit build (made for hosts without 32-bit support) compares with
// 64-bit installers, the 32-bit build with the 32-bit ones.
enum class NsisTarget { X86, Amd64 };

struct Options {
    int largeMib = 128; // each of the large files
    int largeFiles = 2; // inflated side by side by the copy run's workers
    int smallCount = 5000;
    int folderCount = 2000;
    int reps = 3;
    bool breakdown = false;
    bool peers = true;
#ifdef _WIN64
    NsisTarget nsisTarget = NsisTarget::Amd64;
#else
    NsisTarget nsisTarget = NsisTarget::X86;
#endif
};

// Parses argv[first] onwards; dies on anything it does not know.
Options ParseOptions(int argc, char** argv, int first);
// The options a child needs to rebuild the parent's file sets.
std::string SizeArguments(const Options& options);

} // namespace bench
