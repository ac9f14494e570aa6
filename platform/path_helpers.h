// Splitting, joining, creating and expanding the installer's paths. Every
// other part composes its paths with these, so their treatment of backslashes,
// extensions and the current directory shows throughout the installation.
#pragma once

#include "canonical_path.h"

#include <string>
#include <unordered_set>
#include <vector>

// The text after the last backslash; without `keepExtension` cut at its last dot.
std::string ExtractFileName(const std::string& path, bool keepExtension);

// Everything before the last backslash. For a path without one, or ending in
// one: the path itself when it is an enterable directory, else the current
// directory. The current directory is unchanged afterwards.
std::string ExtractDirectory(const std::string& path);

// `directory`, one backslash unless it ends in one (or is empty), then `name`.
std::string AppendPath(const std::string& directory, const std::string& name);

// Creates every missing directory of an absolute path, root outward; true
// when all exist afterwards, false at the first that could be neither entered
// nor made. Each directory it made is appended to `created`, when given, root
// outward. Directories in `known`, when given, are taken to exist without a
// look, and every one found or made is added to it.
bool CreateDirectoryTree(const std::string& path, std::vector<std::string>* created = nullptr,
                         std::unordered_set<std::string>* known = nullptr);

// Where a packaged target path goes.
enum class TargetPlace {
    AsGiven,          // no "%NAME%" token: the path is used as it is
    WindowsDirectory, // "%SystemRoot%" (any case): rewritten into the Windows directory
    UnknownToken,     // any other (or an unclosed) token, whose name is in `unknownToken`
};
TargetPlace ExpandTargetPath(std::string& path, std::string& unknownToken);

// The canonical form of `path` in this machine's code page: absolute, or
// relative to the absolute directory `base` when one is given.
setupcore::CanonicalPath CanonicalPathOf(const std::string& path,
                                         const std::string& base = std::string());
// The canonical form of a path the system or a record names; empty when it
// has none.
std::string CanonicalOrEmpty(const std::string& path);
// The canonical forms of `paths`, those without one left out.
std::vector<std::string> CanonicalPaths(const std::vector<std::string>& paths);

// True when a directory link (or any other reparse point) stands on the way
// from `base` (not included) down to `path` (included): what lies beyond it
// is not below `base` at all, however the text reads. Stops at the first part
// that does not exist. Both must be canonical, `path` within `base`; for any
// other pair it answers true, since nothing can be vouched for on the way.
bool LinkOnTheWay(const std::string& base, const std::string& path);

// Whether `path` names an existing directory.
bool IsExistingDirectory(const std::string& path);

// The temporary directory, with its trailing backslash; empty when the
// system gives none.
std::string TemporaryDirectoryPath();

// The Windows directory, without a trailing backslash unless it is a root.
std::string WindowsDirectory();
