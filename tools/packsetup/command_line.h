// The command line of packsetup: options in, a CommandLine record out, and
// the help text that documents every option.
#pragma once

#include <string>
#include <vector>

namespace packsetup {

// Every text is UTF-8.
struct CommandLine {
    std::string input; // a folder or a manifest file
    std::string outDir;
    std::string appExe;
    std::string header2;
    std::string folderName;
    std::string postInstall;
    std::vector<std::string> obsoleteNames;
    bool allPlain = false;
    bool best = false; // --best: the stronger encoder (best_deflate.h)
    std::vector<std::string> plainExtensions;
    std::string license;
    std::string url;
    std::string setupExe;
    std::string zlib;
    unsigned codePage = 1252; // --codepage: the installing machines' ANSI code page
    std::string version;      // --version: X.Y[.Z[.W]], or empty
    std::string publisher;    // --publisher, or empty
    bool quiet = false;
};

enum class ParseOutcome {
    Run,        // build the package
    Help,       // print UsageText and stop
    UsageError, // the arguments do not make a command; `error` says why
};

// `args` excludes the program name.
ParseOutcome ParseCommandLine(const std::vector<std::string>& args, CommandLine& line,
                              std::string& error);

const char* UsageText();

} // namespace packsetup
