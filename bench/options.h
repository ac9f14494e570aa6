// The command line:
//   extract_bench [--large-mib N] [--small-count N] [--reps N] [--breakdown]
// and, for a child run, extract_bench --run <method> <work directory> followed
// by the sizes the parent used.
#pragma once

#include <string>

namespace bench {

struct Options {
    int largeMib = 512;
    int smallCount = 5000;
    int reps = 3;
    bool breakdown = false;
};

// Parses argv[first] onwards; dies on anything it does not know.
Options ParseOptions(int argc, char** argv, int first);
// The options a child needs to rebuild the parent's file sets.
std::string SizeArguments(const Options& options);

} // namespace bench
