#include "version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

// One block of the resource's string table, named by language and code page.
struct Translation {
    WORD language;
    WORD codePage;
};

// The blocks the resource says it holds, then US English in Unicode and in
// code page 1252, which resource compilers write when no table is given.
std::vector<Translation> Translations(const std::vector<char>& block) {
    std::vector<Translation> found;
    void* table = nullptr;
    UINT size = 0;
    if (::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &table, &size) && table) {
        const Translation* entries = static_cast<const Translation*>(table);
        found.assign(entries, entries + size / sizeof(Translation));
    }
    found.push_back({0x0409, 0x04B0});
    found.push_back({0x0409, 0x04E4});
    return found;
}

// The value's text up to its NUL; the length VerQueryValue gives may or may
// not count the NUL.
std::string StringValue(const std::vector<char>& block, const Translation& t, const char* name) {
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", t.language, t.codePage,
                  name);
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), query, &value, &length) || !value || length == 0)
        return {};
    const char* text = static_cast<const char*>(value);
    size_t size = 0;
    while (size < length && text[size] != '\0')
        ++size;
    return std::string(text, size);
}

// The first block that holds the value.
std::string FirstValue(const std::vector<char>& block, const std::vector<Translation>& blocks,
                       const char* name) {
    for (const Translation& t : blocks) {
        std::string value = StringValue(block, t, name);
        if (!value.empty())
            return value;
    }
    return {};
}

void ReadNumbers(const std::vector<char>& block, VersionInfo& info) {
    void* value = nullptr;
    UINT size = 0;
    if (!::VerQueryValueA(block.data(), "\\", &value, &size) || !value ||
        size < sizeof(VS_FIXEDFILEINFO))
        return;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature != VS_FFI_SIGNATURE)
        return;
    info.hasNumbers = true;
    info.major = HIWORD(fixed->dwProductVersionMS);
    info.minor = LOWORD(fixed->dwProductVersionMS);
    info.build = HIWORD(fixed->dwProductVersionLS);
    info.revision = LOWORD(fixed->dwProductVersionLS);
}

} // namespace

VersionInfo ReadVersionInfo(const std::string& programPath) {
    VersionInfo info;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(programPath.c_str(), &ignored);
    if (size == 0)
        return info;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(programPath.c_str(), 0, size, block.data()))
        return info;
    const std::vector<Translation> blocks = Translations(block);
    info.version = FirstValue(block, blocks, "ProductVersion");
    if (info.version.empty())
        info.version = FirstValue(block, blocks, "FileVersion");
    info.company = FirstValue(block, blocks, "CompanyName");
    ReadNumbers(block, info);
    return info;
}
