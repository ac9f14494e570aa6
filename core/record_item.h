// One thing an uninstallation removes, in the forms an install record holds,
// and the one text form of each that the record stores. The installation
// builds items with the constructors below; the uninstaller classifies the
// stored texts back into items. Both go through this file only.
#pragma once

#include "path_text.h"

#include <string>

namespace setupcore {

extern const char kRegistryPrefix[]; // "%REG_CURRENT_USER%": the hive of every registry item

enum class ItemKind {
    Empty,             // nothing to remove
    RegistryKey,       // parent key + key name, under HKEY_CURRENT_USER
    RegistryValue,     // parent key + value name, under HKEY_CURRENT_USER
    RegistryMalformed, // the prefix without a backslash in its path, or an empty name
    Directory,         // path without its trailing backslash
    FullPathFile,      // path as recorded
    BareFile,          // name relative to the install directory
};

struct RecordItem {
    ItemKind kind = ItemKind::Empty;
    std::string parentKey; // registry items: with its trailing backslash
    std::string name;      // registry items: key or value name (at most 255 bytes)
    std::string path;      // files and directories; the text itself of an unusable item

    // A file or directory as the installation made it: a path that ends in a
    // backslash names a directory.
    static RecordItem ForPath(const std::string& path, LeadBytePredicate isLead);
    // `parentKey` ends in a backslash.
    static RecordItem ForRegistryKey(const std::string& parentKey, const std::string& name);
    static RecordItem ForRegistryValue(const std::string& parentKey, const std::string& name);
};

// The item's text as the record stores it.
std::string EncodeItem(const RecordItem& item);
// What a stored text names.
RecordItem ClassifyItem(const std::string& text, LeadBytePredicate isLead);

// The install record's file name for the setup program whose base name
// (file name without extension) is given: the record is named after it.
std::string RecordFileName(const std::string& programBaseName);
// The made list beside the record ("SetupMade.dat" beside "SetupInfo.dat"):
// what the installation made that the record does not name.
std::string MadeListFileName(const std::string& recordFileName);

} // namespace setupcore
