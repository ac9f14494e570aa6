// The package index (Setup.dat): four header strings, the obsolete-file names
// and the packaged file entries. Parsing checks every bound, so a damaged or
// hostile index is refused with the reason and the offset where it went wrong;
// so is one holding a name that would reach outside its folder
// (packaged_name_rule.h).
#pragma once

#include "packaged_name_rule.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace setupcore {

// Longest texts the installer's fixed fields hold (without their NUL).
constexpr size_t kMaxAppExe = 255;
constexpr size_t kMaxHeader2 = 255;
constexpr size_t kMaxFolderName = 259;
constexpr size_t kMaxPostInstall = 259;
constexpr int32_t kMaxIndexName = 259;

// No real package comes near these, and they keep what a hostile index can
// make the installer hold small. A list of the most names allowed, each of
// the longest length, fits in about 17 MiB, but real names average a few
// dozen bytes: 65536 of them take 2 to 4 MiB, and 16 MiB is room enough
// for packages of many thousand files. The count is checked before a
// single name is read, so a huge count in a small file costs nothing.
constexpr size_t kMaxIndexSize = 16u << 20;
constexpr int32_t kMaxIndexNames = 65536; // obsolete names, and entries, each

struct PackagedFile {
    std::string name; // the L bytes as stored; may hold a NUL, which ends the name
    int32_t compressed = 0;
};

struct PackageIndex {
    uint32_t leadingWord = 0; // the first four bytes: skipped by the reader
    std::string appExe;
    std::string header2;
    std::string folderName;
    std::string postInstall;
    std::vector<std::string> obsoleteFiles; // as stored; cut at a NUL when used
    std::vector<PackagedFile> files;
};

enum class IndexError {
    None,
    TooShort,           // not even the four leading bytes
    HeaderUnterminated, // a header string without its NUL before the end
    HeaderTooLong,      // a header string longer than its field
    CountMissing,       // the file ends where a count should stand
    NameLengthMissing,  // the file ends where a name length should stand
    NameLengthNegative, // a name length below zero
    NameLengthTooLong,  // a name length over 259
    NameRunsPastEnd,    // a name longer than what is left of the file
    FlagMissing,        // the file ends where an entry's compressed flag should stand
    TooLarge,           // the file is larger than kMaxIndexSize
    CountTooLarge,      // a list holds more than kMaxIndexNames names
    UnsafeName,         // a name breaks the name rule; nameFault says how
};

struct IndexParseResult {
    IndexError error = IndexError::None;
    size_t offset = 0; // where the fault was found; for UnsafeName, where the name starts
    NameFault nameFault = NameFault::None;
    PackageIndex index;
    // When parsed: where the last entry ends. Whatever follows is no part of
    // the index (package_identity.h reads a trailer there).
    size_t end = 0;
    bool Ok() const { return error == IndexError::None; }
};

// `isLead` tells the double-byte characters of the code page the names are
// read in, for the name rule.
IndexParseResult ParsePackageIndex(const uint8_t* data, size_t size,
                                   LeadBytePredicate isLead = NoLeadBytes);

// Describes a parse error in words, for diagnostics of the package builder.
const char* DescribeIndexError(IndexError error);

// Lays out an index the way ParsePackageIndex reads it back.
std::string EncodePackageIndex(const PackageIndex& index);

} // namespace setupcore
