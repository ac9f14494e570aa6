#include "path_helpers.h"

#include "ansi_text.h"
#include "current_directory.h"
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

int CreateDirectoryTree(const std::string& path, std::vector<std::string>* created) {
    std::vector<std::string> prefixes;
    if (!DirectoryTreePrefixes(path, prefixes, IsAnsiLeadByte))
        return 0;
    CurrentDirectoryKeeper keeper;
    for (const std::string& prefix : prefixes) {
        if (EnterDirectory(prefix))
            continue;
        if (!::CreateDirectoryA(prefix.c_str(), nullptr))
            return 0;
        if (created)
            created->push_back(prefix);
    }
    return 1;
}

std::string WindowsDirectory() {
    char buffer[MAX_PATH * 4];
    UINT length = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

int ExpandTargetPath(std::string& path, std::string& unknownToken,
                     std::vector<std::string>* created) {
    std::string directory = ExtractDirectory(path);
    PercentToken token = FindPercentToken(directory, IsAnsiLeadByte);
    if (token.kind == PercentToken::Kind::None) {
        CreateDirectoryTree(directory, created); // a failure shows when the target is made
        return 1;
    }
    // An unclosed token names no system directory either: refuse it the same way.
    if (token.kind == PercentToken::Kind::Unclosed ||
        !EqualsIgnoringAsciiCase(token.name, "SystemRoot")) {
        unknownToken = token.name;
        return 0;
    }
    path = AppendPath(WindowsDirectory() + token.after, ExtractFileName(path, true));
    return 1;
}
