#include "path_helpers.h"

#include "ansi_text.h"
#include "current_directory.h"
#include "path_scope.h"
#include "path_text.h"

#include <vector>

using namespace setupcore;

std::string ExtractFileName(const std::string& path, bool keepExtension) {
    return FileNamePart(path, keepExtension, IsAnsiLeadByte);
}

std::string ExtractDirectory(const std::string& path) {
    std::string directory;
    if (DirectoryBeforeLastBackslash(path, directory, IsAnsiLeadByte))
        return directory;
    CurrentDirectoryKeeper keeper;
    return EnterDirectory(path) ? path : keeper.Saved();
}

std::string AppendPath(const std::string& directory, const std::string& name) {
    return AppendPathText(directory, name);
}

bool CreateDirectoryTree(const std::string& path, std::vector<std::string>* created,
                         std::unordered_set<std::string>* known) {
    if (known && known->count(path))
        return true;
    std::vector<std::string> prefixes;
    if (!DirectoryTreePrefixes(path, prefixes, IsAnsiLeadByte))
        return false;
    CurrentDirectoryKeeper keeper;
    for (const std::string& prefix : prefixes) {
        if (known && known->count(prefix))
            continue;
        if (!EnterDirectory(prefix)) {
            if (!::CreateDirectoryA(prefix.c_str(), nullptr))
                return false;
            if (created)
                created->push_back(prefix);
        }
        if (known)
            known->insert(prefix);
    }
    return true;
}

bool IsExistingDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TemporaryDirectoryPath() {
    DWORD needed = ::GetTempPathA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

std::string WindowsDirectory() {
    char buffer[MAX_PATH * 4];
    UINT length = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

TargetPlace ExpandTargetPath(std::string& path, std::string& unknownToken) {
    PercentToken token = FindPercentToken(ExtractDirectory(path), IsAnsiLeadByte);
    if (token.kind == PercentToken::Kind::None)
        return TargetPlace::AsGiven;
    // An unclosed token names no system directory either: refuse it the same way.
    if (token.kind == PercentToken::Kind::Unclosed ||
        !EqualsIgnoringAsciiCase(token.name, "SystemRoot")) {
        unknownToken = token.name;
        return TargetPlace::UnknownToken;
    }
    path = AppendPath(WindowsDirectory() + token.after, ExtractFileName(path, true));
    return TargetPlace::WindowsDirectory;
}

setupcore::CanonicalPath CanonicalPathOf(const std::string& path, const std::string& base) {
    return base.empty() ? Canonicalize(path, IsAnsiLeadByte)
                        : CanonicalizeFrom(base, path, IsAnsiLeadByte);
}

std::string CanonicalOrEmpty(const std::string& path) {
    const setupcore::CanonicalPath canonical = CanonicalPathOf(path);
    return canonical ? canonical.path : std::string();
}

std::vector<std::string> CanonicalPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> canonical;
    for (const std::string& path : paths)
        if (const setupcore::CanonicalPath form = CanonicalPathOf(path))
            canonical.push_back(form.path);
    return canonical;
}

bool LinkOnTheWay(const std::string& base, const std::string& path) {
    if (!IsWithin(path, base, IsAnsiLeadByte))
        return true;
    const std::vector<std::string> parts = PathComponents(path, IsAnsiLeadByte);
    const size_t baseDepth = PathComponents(base, IsAnsiLeadByte).size();
    std::string prefix = parts[0];
    for (size_t i = 1; i < parts.size(); ++i) {
        prefix = AppendPath(prefix, parts[i]);
        if (i < baseDepth)
            continue;
        const DWORD attributes = ::GetFileAttributesA(prefix.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return true;
    }
    return false;
}
