// Which names the package index may hold. The installer joins each packaged
// file name, obsolete-file name and program name to the install directory,
// and the folder name to Program Files and to the Programs folder; a name
// that passes here stays below that directory and names an ordinary file or
// folder there. The reader refuses an index holding any other, and the
// package builder refuses to write one, by this same rule.
//
// A name is refused when it
//   - is empty, starts with a backslash (a rooted path or a share) or holds a
//     colon (a drive or a stream);
//   - holds a forward slash: Windows takes it as a separator too, so "../x"
//     would climb out as surely as "..\x";
//   - holds a control character (a byte below 0x20): no file name needs one,
//     and they hide in messages and logs;
//   - has a backslash-separated part that is empty, "." or "..", ends in a
//     dot or a blank (Windows drops those, so the name would change), or is a
//     device name (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, COM and LPT with
//     a superscript 1-3, CONIN$, CONOUT$, in any letter case, with or without
//     an extension: "con.txt" opens the console);
//   - holds a '%' anywhere but in one leading "%NAME%" part followed by more
//     parts ("%SystemRoot%\x.dll"). An unknown NAME passes here; the installer
//     tells the user about it when it meets it;
//   - ends in the first byte of a double-byte character.
// The folder name follows the same rule, but may hold no '%' at all: it is
// never expanded, and the copy run would read one in the install directory
// as a system folder. It may hold backslashes: "Kestrel\Notes" is a folder
// and a program group inside another.
//
// Names are ANSI text in the installing machine's code page. Parts are split
// at backslashes with the lead-byte-aware search, so the trail byte 0x5C of a
// double-byte character is no separator. Every other test looks at single
// bytes: no trail byte of a Windows code page is below 0x40, so the bytes
// refused here never stand inside a double-byte character of well-formed text,
// and in malformed text refusing them is the safe side.
#pragma once

#include "path_text.h"

#include <string>

namespace setupcore {

enum class NameFault {
    None,
    Empty,               // no text at all
    LeadingBackslash,    // a rooted path or a share
    Colon,               // a drive letter or a stream name
    ForwardSlash,        // a separator on Windows as well
    ControlCharacter,    // a byte below 0x20
    IncompleteCharacter, // ends in a lead byte without its trail byte
    EmptyPart,           // two backslashes in a row, or one at the end
    DotPart,             // a part that is "."
    DotDotPart,          // a part that is ".."
    EndsInDotOrBlank,    // a part that Windows would shorten
    DeviceName,          // a part that Windows opens as a device
    StrayPercent,        // a '%' outside one leading %NAME% part
    Percent,             // any '%' in the folder name
};

// A packaged file name, an obsolete-file name, or a program name (main or
// post-install) relative to the install directory.
NameFault CheckPackagedName(const std::string& name, LeadBytePredicate isLead);

// The folder name: the default install folder and program group.
NameFault CheckFolderName(const std::string& name, LeadBytePredicate isLead);

// Whether Windows opens a file of this name as a device, whatever its
// extension and with blanks before it: CON, PRN, AUX, NUL, COM0-9, LPT0-9,
// CONIN$, CONOUT$ in any letter case.
bool IsDeviceName(const std::string& part);

// Words that follow the quoted name in a message: "..\x" "has a part that is
// '..', which climbs out of the folder it is in".
const char* DescribeNameFault(NameFault fault);

} // namespace setupcore
