// The one form of a path that every check and every use of it shares. A path
// that comes from outside (an install record, the package index, the command
// line, the directory box, the registry) is turned into this form first; the
// scope checks, the link checks, the log and the file system call then all
// see the same string, so no second reading of the text can lead elsewhere.
//
// The canonical form of an absolute path is
//   - "X:\" for a drive's root, "X:\a\b" below it (the letter as given);
//   - "\\server\share" for a share's root, "\\server\share\a" below it;
// with one backslash between parts and none at the end. Windows takes '/' as
// a separator as well as '\', and resolves "." and ".." after either, so this
// does too, before anything is checked. A path is refused, not repaired, when
//   - it is relative, rooted on no drive ("\a"), or drive-relative ("C:a");
//   - it is a verbatim or device path ("\\?\", "\\.\", "\??\", in either
//     separator), whose text Windows does not resolve the same way;
//   - ".." would climb above its root;
//   - a part ends in a dot or a blank (Windows drops those: "S." is "S"),
//     holds a colon (a stream), a control character or one of <>"|?*, or is
//     a device name (CON, NUL, COM1, ...);
//   - it ends in the first byte of a double-byte character.
#pragma once

#include "path_text.h"

#include <string>

namespace setupcore {

enum class PathFault {
    None,
    Empty,
    NotAbsolute,         // relative, rooted on no drive, or drive-relative
    VerbatimOrDevice,    // "\\?\", "\\.\" or "\??\"
    NoShareName,         // "\\server" without a share
    ClimbsAboveRoot,     // ".." past the drive or the share
    EndsInDotOrBlank,    // a part Windows would shorten
    Colon,               // a stream, or a drive letter inside the path
    ControlCharacter,    // a byte below 0x20
    ReservedCharacter,   // < > " | ? *
    DeviceName,          // a part Windows opens as a device
    IncompleteCharacter, // ends in a lead byte
};

struct CanonicalPath {
    std::string path; // the canonical form; empty when refused
    PathFault fault = PathFault::None;
    explicit operator bool() const { return fault == PathFault::None; }
};

// The canonical form of an absolute path.
CanonicalPath Canonicalize(const std::string& path, LeadBytePredicate isLead);

// The canonical form of `path` when it is absolute, or of `path` below `base`
// (an absolute directory) when it is relative. A path rooted on no drive or
// relative to a drive's current directory is refused either way.
CanonicalPath CanonicalizeFrom(const std::string& base, const std::string& path,
                               LeadBytePredicate isLead);

// Whether `path` is already in canonical form.
bool IsCanonical(const std::string& path, LeadBytePredicate isLead);

// Words that follow the quoted path in a log line or a message.
const char* DescribePathFault(PathFault fault);

} // namespace setupcore
