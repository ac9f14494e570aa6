// Letter case as the setup directory sees it. Windows compares file
// names without regard to case across Unicode, so two packaged names whose
// file-name parts differ only in case would be one file there. This folds
// the letters of every ANSI code page's alphabet: ASCII, Latin-1, Latin
// Extended-A (Central European, Turkish, Baltic), Greek, Cyrillic and the
// full-width Latin letters of the East Asian code pages.
#pragma once

#include <string>

namespace packsetup {

// `utf8` (valid UTF-8) with those letters in lower case.
std::string FoldCase(const std::string& utf8);

} // namespace packsetup
