// EncodeForCodePage with the Windows conversion functions: UTF-8 to UTF-16,
// refusing malformed input, then UTF-16 to the code page with best fit
// switched off, refusing any character that took the default character.
#include "packsetup/code_page.h"

#include <windows.h>

#include <vector>

namespace packsetup {
namespace {

bool ToWide(const std::string& utf8, std::wstring& wide) {
    const int length = static_cast<int>(utf8.size());
    int needed =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return false;
    wide.assign(static_cast<size_t>(needed), L'\0');
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, &wide[0],
                                 needed) == needed;
}

bool FromWide(const std::wstring& wide, unsigned codePage, std::string& encoded) {
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    int needed = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                       0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return false;
    encoded.assign(static_cast<size_t>(needed), '\0');
    return ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, &encoded[0],
                                 needed, nullptr, &usedDefault) == needed &&
           !usedDefault;
}

} // namespace

EncodeOutcome EncodeForCodePage(const std::string& utf8, unsigned codePage, std::string& encoded) {
    encoded.clear();
    if (utf8.empty())
        return EncodeOutcome::Ok; // the functions refuse an empty text
    std::wstring wide;
    if (!ToWide(utf8, wide))
        return EncodeOutcome::NotUtf8;
    return FromWide(wide, codePage, encoded) ? EncodeOutcome::Ok : EncodeOutcome::NotInCodePage;
}

} // namespace packsetup
