#include "options.h"

#include "bench_support.h"

#include <cstdlib>

namespace bench {

namespace {

int ParseCount(const char* text, const char* option, int low, int high) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high)
        Die("%s wants a number from %d to %d, not \"%s\"", option, low, high, text);
    return static_cast<int>(value);
}

NsisTarget ParseTarget(const std::string& text) {
    if (text == "x86")
        return NsisTarget::X86;
    if (text == "amd64")
        return NsisTarget::Amd64;
    Die("--nsis-target wants x86 or amd64, not \"%s\"", text.c_str());
}

// The options that stand alone; false for one that wants a value.
bool ParseFlag(const std::string& option, Options& options) {
    if (option == "--breakdown")
        options.breakdown = true;
    else if (option == "--no-peers")
        options.peers = false;
    else
        return false;
    return true;
}

} // namespace

Options ParseOptions(int argc, char** argv, int first) {
    Options options;
    for (int i = first; i < argc; ++i) {
        const std::string option = argv[i];
        if (ParseFlag(option, options))
            continue;
        if (i + 1 >= argc)
            Die("%s needs a value", option.c_str());
        const char* value = argv[++i];
        if (option == "--large-mib")
            options.largeMib = ParseCount(value, "--large-mib", 1, 2047); // int32 length word
        else if (option == "--large-files")
            options.largeFiles = ParseCount(value, "--large-files", 1, 16);
        else if (option == "--small-count")
            options.smallCount = ParseCount(value, "--small-count", 1, 99999);
        else if (option == "--folder-count")
            options.folderCount = ParseCount(value, "--folder-count", 1, 99999);
        else if (option == "--reps")
            options.reps = ParseCount(value, "--reps", 1, 99);
        else if (option == "--nsis-target")
            options.nsisTarget = ParseTarget(value);
        else
            Die("unknown option %s (use --large-mib N, --large-files N, --small-count N, "
                "--folder-count N, "
                "--reps N, --breakdown, --no-peers, --nsis-target x86|amd64)",
                option.c_str());
    }
    return options;
}

std::string SizeArguments(const Options& options) {
    return "--large-mib " + std::to_string(options.largeMib) + " --large-files " +
           std::to_string(options.largeFiles) + " --small-count " +
           std::to_string(options.smallCount) + " --folder-count " +
           std::to_string(options.folderCount);
}

} // namespace bench
