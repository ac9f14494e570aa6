// The names the index may not hold, and names like them that it may: one
// table for the index reader's tests and the package builder's, which share
// the rule (packaged_name_rule.h). Every text here is ASCII, so it reads the
// same in the builder's UTF-8 and in any code page.
#pragma once

#include "packaged_name_rule.h"

#include <string>
#include <vector>

namespace hostile_names {

// Where in the index a name stands.
enum class Slot { Entry, Obsolete, AppExe, PostInstall, FolderName };

// The header string that `slot` names in a PackageIndex or PackagePlan (both
// call them alike); null for the lists.
template <class Package> std::string* HeaderIn(Package& package, Slot slot) {
    switch (slot) {
    case Slot::AppExe:
        return &package.appExe;
    case Slot::PostInstall:
        return &package.postInstall;
    case Slot::FolderName:
        return &package.folderName;
    case Slot::Entry:
    case Slot::Obsolete:
        break;
    }
    return nullptr;
}

struct NameRow {
    const char* what;
    Slot slot;
    std::string name;
    setupcore::NameFault fault; // None: the name must pass
};

inline std::vector<NameRow> HostileNames() {
    using setupcore::NameFault;
    return {
        {"climbs out", Slot::Entry, "..\\..\\outside.txt", NameFault::DotDotPart},
        {"climbs out of the system folder", Slot::Entry, "%SystemRoot%\\..\\x.txt",
         NameFault::DotDotPart},
        {"climbs out in the middle", Slot::Entry, "bin\\..\\..\\x.dll", NameFault::DotDotPart},
        {"obsolete name climbs out", Slot::Obsolete, "..\\..\\victim.txt", NameFault::DotDotPart},
        {"climbs out with forward slashes", Slot::Entry, "../x.txt", NameFault::ForwardSlash},
        {"forward slash between folders", Slot::Entry, "bin/x.dll", NameFault::ForwardSlash},
        {"rooted", Slot::Entry, "\\abs.txt", NameFault::LeadingBackslash},
        {"share", Slot::Entry, "\\\\srv\\share\\x.txt", NameFault::LeadingBackslash},
        {"drive", Slot::Entry, "C:\\x.txt", NameFault::Colon},
        {"drive-relative", Slot::Entry, "C:x.txt", NameFault::Colon},
        {"stream", Slot::Entry, "x.txt:hidden", NameFault::Colon},
        {"device folder", Slot::Entry, "CON\\x.txt", NameFault::DeviceName},
        {"device with an extension", Slot::Entry, "con.txt", NameFault::DeviceName},
        {"port with an extension", Slot::Entry, "docs\\Lpt1.log", NameFault::DeviceName},
        {"port nine", Slot::Entry, "COM9", NameFault::DeviceName},
        {"console output", Slot::Entry, "CONOUT$", NameFault::DeviceName},
        {"device before blanks", Slot::Entry, "nul .txt", NameFault::DeviceName},
        {"folder ending in a dot", Slot::Entry, "dir.\\x.txt", NameFault::EndsInDotOrBlank},
        {"folder ending in a blank", Slot::Entry, "dir \\x.txt", NameFault::EndsInDotOrBlank},
        {"file ending in a dot", Slot::Entry, "x.txt.", NameFault::EndsInDotOrBlank},
        {"two backslashes", Slot::Entry, "a\\\\b.txt", NameFault::EmptyPart},
        {"ends in a backslash", Slot::Entry, "bin\\", NameFault::EmptyPart},
        {"dot folder", Slot::Entry, ".\\x", NameFault::DotPart},
        {"two tokens", Slot::Entry, "%A%%B%\\x", NameFault::StrayPercent},
        {"percent inside", Slot::Entry, "x%y", NameFault::StrayPercent},
        {"token not first", Slot::Entry, "bin\\%SystemRoot%\\x.dll", NameFault::StrayPercent},
        {"token with nothing after", Slot::Entry, "%SystemRoot%", NameFault::StrayPercent},
        {"token with text after", Slot::Entry, "%SystemRoot%x.dll", NameFault::StrayPercent},
        {"empty token", Slot::Entry, "%%\\x.dll", NameFault::StrayPercent},
        {"control character", Slot::Entry, "tab\there.txt", NameFault::ControlCharacter},
        {"main program climbs out", Slot::AppExe, "..\\x.exe", NameFault::DotDotPart},
        {"main program absolute", Slot::AppExe, "C:\\Windows\\notepad.exe", NameFault::Colon},
        {"main program rooted", Slot::AppExe, "\\x.exe", NameFault::LeadingBackslash},
        {"post-install climbs out", Slot::PostInstall, "..\\..\\evil.exe", NameFault::DotDotPart},
        {"post-install on a share", Slot::PostInstall, "\\\\srv\\x.exe",
         NameFault::LeadingBackslash},
        {"folder climbs out", Slot::FolderName, "..\\..\\Windows", NameFault::DotDotPart},
        {"folder is a system folder", Slot::FolderName, "%SystemRoot%", NameFault::Percent},
        {"folder with a percent", Slot::FolderName, "100%", NameFault::Percent},
        {"folder on a drive", Slot::FolderName, "C:\\Kestrel", NameFault::Colon},
        {"folder rooted", Slot::FolderName, "\\Kestrel", NameFault::LeadingBackslash},
        {"folder with a forward slash", Slot::FolderName, "Kestrel/Notes", NameFault::ForwardSlash},
        {"folder ending in a dot", Slot::FolderName, "Kestrel.", NameFault::EndsInDotOrBlank},
        {"folder is a device", Slot::FolderName, "AUX", NameFault::DeviceName},

        {"file in a folder", Slot::Entry, "bin\\x.dll", NameFault::None},
        {"system folder", Slot::Entry, "%SystemRoot%\\x.dll", NameFault::None},
        {"unknown token, told later", Slot::Entry, "%Unknown%\\x.dll", NameFault::None},
        {"dots inside parts", Slot::Entry, "a.b\\c.d", NameFault::None},
        {"blanks inside parts", Slot::Entry, "My Docs\\read me.txt", NameFault::None},
        {"leading dots", Slot::Entry, "...x\\.hidden", NameFault::None},
        {"device-like words", Slot::Entry, "console\\com10.txt", NameFault::None},
        {"obsolete file in a folder", Slot::Obsolete, "bin\\old.dll", NameFault::None},
        {"main program in a folder", Slot::AppExe, "bin\\App.exe", NameFault::None},
        {"post-install program", Slot::PostInstall, "Post.exe", NameFault::None},
        {"folder and group inside another", Slot::FolderName, "Kestrel\\Notes 2.5",
         NameFault::None},
    };
}

} // namespace hostile_names
