// The program's arguments in UTF-8, as the rest of packsetup takes every
// text. A Linux command line is UTF-8 already; on Windows the narrow argv is
// in the building machine's ANSI code page, which cannot hold every name, so
// the arguments are taken from the UTF-16 command line instead.
#pragma once

#include <string>
#include <vector>

namespace packsetup {

// Excludes the program name.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

} // namespace packsetup
