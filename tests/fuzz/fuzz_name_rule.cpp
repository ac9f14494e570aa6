// Any bytes given as a name. The first byte picks the rule (packaged name or
// folder name) and the code page (single-byte, or with Shift JIS lead bytes);
// the rest is the name. A name the rule accepts never climbs above the folder
// it is joined to and holds none of the refused bytes; the index reader
// agrees with the rule on every name it could hold.
#include "package_index.h"
#include "packaged_name_rule.h"
#include "path_text.h"

#include <cstdlib>
#include <string>

namespace {

using namespace setupcore;

bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Walks the parts as Windows resolves them, trailing dots and blanks
// dropped; false when the walk leaves the folder it starts in.
bool StaysBelow(const std::string& name, LeadBytePredicate isLead) {
    if (name.empty() || name[0] == '\\' || name.find(':') != std::string::npos ||
        name.find('/') != std::string::npos)
        return false;
    int depth = 0;
    for (std::string part : SplitAtBackslashes(name, isLead)) {
        part.erase(part.find_last_not_of(". ") + 1); // all dots and blanks: npos + 1 is 0
        if (part.empty())
            continue; // "", ".", "..." and the like: refused, but harmless if not
        if (part == "..")
            --depth;
        else
            ++depth;
        if (depth < 0)
            return false;
    }
    return true;
}

bool HasControlByte(const std::string& name) {
    for (char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20)
            return true;
    return false;
}

IndexParseResult ReadInIndex(const std::string& name, bool folder, LeadBytePredicate isLead) {
    PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = folder ? name : "Kestrel";
    index.files = {{folder ? "App.exe" : name, 0}};
    const std::string bytes = EncodePackageIndex(index);
    return ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), isLead);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool folder = (data[0] & 1) != 0;
    const LeadBytePredicate isLead = (data[0] & 2) != 0 ? ShiftJisLead : NoLeadBytes;
    const std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
    const NameFault fault =
        folder ? CheckFolderName(name, isLead) : CheckPackagedName(name, isLead);
    if (fault == NameFault::None && (!StaysBelow(name, isLead) || HasControlByte(name) ||
                                     (folder && name.find('%') != std::string::npos)))
        std::abort();
    // The reader sees what fits its fields, and names up to their first NUL;
    // an empty header string is one not given, which it takes.
    if (name.size() > kMaxAppExe || name.find('\0') != std::string::npos ||
        (folder && name.empty()))
        return 0;
    const IndexParseResult parsed = ReadInIndex(name, folder, isLead);
    const bool readerAgrees = fault == NameFault::None ? parsed.Ok()
                                                       : parsed.error == IndexError::UnsafeName &&
                                                             parsed.nameFault == fault;
    if (!readerAgrees)
        std::abort();
    return 0;
}
