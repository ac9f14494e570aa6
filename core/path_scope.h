// Whether a path lies within a directory, decided from the text alone, as a
// check must be that refuses an install record's item outside the places an
// installation can have put it. Components are compared without regard to
// the case of ASCII letters; doubled backslashes count as one. A path that
// could walk out of its directory ("." or ".." components), a device or
// verbatim path ("\\?\", "\\.\"), or a colon past the drive is never within
// anything.
#pragma once

#include "path_text.h"

#include <string>
#include <vector>

namespace setupcore {

// The components of an absolute path: the root first ("C:", or "\\" for a
// share path), then each name; empty when the path is not one this check
// accepts.
std::vector<std::string> PathComponents(const std::string& path, LeadBytePredicate isLead);

// True when `path` is `base` itself or lies below it.
bool IsWithin(const std::string& path, const std::string& base, LeadBytePredicate isLead);
// True when `path` lies below `base`, not being `base` itself.
bool IsStrictlyBelow(const std::string& path, const std::string& base, LeadBytePredicate isLead);

} // namespace setupcore
