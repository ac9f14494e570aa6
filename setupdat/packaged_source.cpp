#include "packaged_source.h"

#include "ansi_text.h"
#include "packaged_name_rule.h"
#include "path_helpers.h"

namespace {

bool IsPlainFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

} // namespace

PackagedSource LocatePackagedSource(const std::string& setupDirectory,
                                    const std::string& packagedName, bool compressed) {
    const std::string fileName = ExtractFileName(packagedName, true);
    if (fileName != packagedName &&
        setupcore::CheckPackagedName(packagedName, IsAnsiLeadByte) == setupcore::NameFault::None) {
        const std::string nested = AppendPath(setupDirectory, packagedName);
        if (NestedSourceStillBelow(setupDirectory, nested) && IsPlainFile(nested))
            return {nested, compressed, true};
    }
    return {AppendPath(setupDirectory, fileName), compressed, false};
}

bool NestedSourceStillBelow(const std::string& setupDirectory, const std::string& path) {
    return !LinkOnTheWay(setupDirectory, path);
}
