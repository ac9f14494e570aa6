#include "string_table.h"

#include "win_app.h"

std::string LoadResourceString(UINT stringId) {
    // A string-table entry holds at most 4097 characters.
    char buffer[4100];
    int length = ::LoadStringA(AfxGetInstanceHandle(), stringId, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string FillArgument(std::string text, const std::string& argument) {
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

std::string FormatResourceString(UINT stringId, const std::string& argument) {
    return FillArgument(LoadResourceString(stringId), argument);
}
