// Whether a path lies within a directory, decided from the text alone, as a
// check must be that refuses an install record's item outside the places an
// installation can have put it. Both paths must already be in canonical form
// (canonical_path.h), the form the caller then uses: a path in any other form
// is never within anything, so a check cannot pass on one reading of a text
// and the file system act on another. Components are compared without regard
// to the case of ASCII letters.
#pragma once

#include "path_text.h"

#include <string>
#include <vector>

namespace setupcore {

// The components of a canonical path: the root first ("C:", or "\\" then the
// server and the share), then each name; empty when the path is not canonical.
std::vector<std::string> PathComponents(const std::string& path, LeadBytePredicate isLead);

// True when `path` is `base` itself or lies below it.
bool IsWithin(const std::string& path, const std::string& base, LeadBytePredicate isLead);
// True when `path` lies below `base`, not being `base` itself.
bool IsStrictlyBelow(const std::string& path, const std::string& base, LeadBytePredicate isLead);
// True when both name the same place.
bool IsSamePath(const std::string& a, const std::string& b, LeadBytePredicate isLead);

} // namespace setupcore
