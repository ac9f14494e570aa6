// Text rules of the installer's paths and install-record items, free of any
// file-system access. Searches for backslash, dot and percent skip the trail
// byte of a double-byte character; the caller says which bytes lead one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace setupcore {

using LeadBytePredicate = bool (*)(unsigned char);
inline bool NoLeadBytes(unsigned char) {
    return false;
}

constexpr size_t kNotFound = std::string::npos;

size_t FindFirstChar(const std::string& text, char ch, size_t from, LeadBytePredicate isLead);
size_t FindLastChar(const std::string& text, char ch, LeadBytePredicate isLead);

// The text after the last backslash (the whole text when there is none); with
// keepExtension false it is cut at its last dot.
std::string FileNamePart(const std::string& path, bool keepExtension, LeadBytePredicate isLead);

// Everything before the last backslash, when there is one that is not the
// last character. Otherwise false: the caller decides from the file system.
bool DirectoryBeforeLastBackslash(const std::string& path, std::string& directory,
                                  LeadBytePredicate isLead);

// The parts between backslashes, in order: "a\\b\\" gives "a", "b" and "".
std::vector<std::string> SplitAtBackslashes(const std::string& path, LeadBytePredicate isLead);

// Joins with exactly one backslash added where the directory does not end in
// one (a plain byte test); an empty directory gets none.
std::string AppendPathText(const std::string& directory, const std::string& name);

// The prefixes that creating a directory tree probes, root outward. False for
// a share path with no backslash after the server name.
bool DirectoryTreePrefixes(const std::string& path, std::vector<std::string>& prefixes,
                           LeadBytePredicate isLead);

// A "%NAME%" token in the directory part of a target path.
struct PercentToken {
    enum class Kind { None, Closed, Unclosed } kind = Kind::None;
    std::string name;  // between the percent signs
    std::string after; // what follows the closing percent sign
};
PercentToken FindPercentToken(const std::string& directory, LeadBytePredicate isLead);

// Case-insensitive comparison of ASCII letters, as used for "dll" and "SystemRoot".
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

// The text after the last dot of a path, or empty when there is none.
std::string ExtensionAfterLastDot(const std::string& path, LeadBytePredicate isLead);

} // namespace setupcore

namespace setupcore {
// The first `length` bytes of `text`, ended early by a NUL byte, without a
// double-byte character that the cut would split.
std::string CopyWholeCharacters(const std::string& text, size_t length, LeadBytePredicate isLead);
} // namespace setupcore
