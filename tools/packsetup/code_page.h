// Names in the code page of the installing machines. The package builder
// takes every name in UTF-8, and the installer reads them with the ANSI
// functions, in its machine's ANSI code page: the index must hold them in
// that code page, which the publisher names. A character the code page
// cannot hold is refused, never replaced by a look-alike ("best fit") or a
// question mark: the installed file would silently get another name.
//
// EncodeForCodePage has two implementations: iconv natively
// (code_page_iconv.cpp), the Windows conversion functions in the Windows
// build (code_page_windows.cpp).
#pragma once

#include "path_text.h"

#include <string>

namespace packsetup {

constexpr unsigned kDefaultCodePage = 1252;

// The code pages Windows uses as its ANSI code page: 874, 932, 936, 949,
// 950 and 1250 to 1258. The installer cannot meet any other.
bool IsAnsiCodePage(unsigned codePage);

// The lead bytes of the double-byte characters of an ANSI code page
// (932, 936, 949, 950); none for the others.
setupcore::LeadBytePredicate LeadBytesOf(unsigned codePage);

enum class EncodeOutcome {
    Ok,
    NotUtf8,       // the text is no valid UTF-8
    NotInCodePage, // a character the code page has no byte for
};

// `utf8` in an ANSI code page's bytes.
EncodeOutcome EncodeForCodePage(const std::string& utf8, unsigned codePage, std::string& encoded);

} // namespace packsetup
