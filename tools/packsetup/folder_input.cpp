#include "packsetup/folder_input.h"

#include "packsetup/path_display.h"

#include <algorithm>
#include <system_error>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

// The path relative to the folder, in the installer's spelling, in UTF-8 (a
// Linux name that is not UTF-8 is refused when the name is encoded).
bool PackagedName(const fs::path& relative, std::string& name, std::string& error) {
    name.clear();
    for (const fs::path& part : relative) {
        std::string text = part.u8string();
        // Possible in a POSIX file name, but the installer would read it as
        // a folder separator.
        if (text.find('\\') != std::string::npos) {
            error = "the file " + Quoted(relative) + " has a backslash in its name";
            return false;
        }
        name += name.empty() ? text : "\\" + text;
    }
    return true;
}

bool AddFile(const fs::path& folder, const fs::directory_entry& item,
             std::vector<PackageEntry>& entries, std::string& error) {
    std::error_code ec;
    if (!item.is_regular_file(ec))
        return true; // folders, and anything that is not file content
    PackageEntry entry;
    entry.source = item.path();
    if (!PackagedName(item.path().lexically_relative(folder), entry.name, error))
        return false;
    entries.push_back(entry);
    return true;
}

} // namespace

bool CollectFolder(const fs::path& folder, std::vector<PackageEntry>& entries, std::string& error) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec))
        if (!AddFile(folder, *it, entries, error))
            return false;
    if (ec) {
        error = "cannot read the folder " + Quoted(folder) + ": " + ec.message();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const PackageEntry& a, const PackageEntry& b) { return a.name < b.name; });
    return true;
}

} // namespace packsetup
