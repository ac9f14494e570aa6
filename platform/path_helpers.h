// Splitting, joining, creating and expanding the installer's paths. Every
// other part composes its paths with these, so their treatment of backslashes,
// extensions and the current directory shows throughout the installation.
#pragma once

#include <string>
#include <vector>

// The text after the last backslash; without `keepExtension` cut at its last dot.
std::string ExtractFileName(const std::string& path, bool keepExtension);

// Everything before the last backslash. For a path without one, or ending in
// one: the path itself when it is an enterable directory, else the current
// directory. The current directory is unchanged afterwards.
std::string ExtractDirectory(const std::string& path);

// `directory`, one backslash unless it ends in one (or is empty), then `name`.
std::string AppendPath(const std::string& directory, const std::string& name);

// Creates every missing directory of an absolute path, root outward; 1 when
// all exist afterwards, 0 at the first that could be neither entered nor made.
// Each directory it made is appended to `created`, when given, root outward.
int CreateDirectoryTree(const std::string& path, std::vector<std::string>* created = nullptr);

// Rewrites a target path whose directory holds "%SystemRoot%" (any case) to
// lie in the Windows directory; otherwise creates the target's directories.
// 1 when the path may be used; 0 for any other (or an unclosed) token, whose
// name is then in `unknownToken`.
int ExpandTargetPath(std::string& path, std::string& unknownToken,
                     std::vector<std::string>* created = nullptr);

// The Windows directory, without a trailing backslash unless it is a root.
std::string WindowsDirectory();
