#include "item_type.h"

#include "ansi_text.h"
#include "auto_start_item.h"
#include "directory_item.h"
#include "file_item.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "registry_key_item.h"
#include "registry_value_item.h"
#include "shortcut_item.h"

bool RemovalPlaces::RefersToInstallation(const std::string& command) const {
    std::string program = command;
    if (!program.empty() && program[0] == '"')
        program = program.substr(1, program.find('"', 1) - 1);
    else
        program = program.substr(0, program.find(" /"));
    const setupcore::CanonicalPath canonical = CanonicalPathOf(program);
    return canonical && setupcore::IsStrictlyBelow(canonical.path, installDir, IsAnsiLeadByte);
}

const std::string* RemovalPlaces::FolderHolding(const std::vector<std::string>& folders,
                                                const std::string& path) {
    for (const std::string& folder : folders)
        if (!folder.empty() && setupcore::IsStrictlyBelow(path, folder, IsAnsiLeadByte))
            return &folder;
    return nullptr;
}

std::string ItemType::Describe(const setupcore::RecordItem& item, ItemOutcome outcome,
                               const std::string& text) const {
    const bool registry = item.kind == setupcore::ItemKind::RegistryKey ||
                          item.kind == setupcore::ItemKind::RegistryValue;
    const std::string what = registry ? "registry item " + text : item.path;
    switch (outcome) {
    case ItemOutcome::Removed:
        return "Removed " + what;
    case ItemOutcome::Scheduled:
        return "Scheduled for removal at restart: " + what;
    case ItemOutcome::Failed:
        return "Could not remove " + what;
    case ItemOutcome::Refused:
        break;
    }
    return DescribeLeftAlone(item, text);
}

std::string DescribeLeftAlone(const setupcore::RecordItem& item, const std::string& text) {
    return item.kind == setupcore::ItemKind::Empty ||
                   item.kind == setupcore::ItemKind::RegistryMalformed
               ? "Left alone (not a usable item): " + text
               : "Left alone (not made by this installation): " + text;
}

const std::vector<const ItemType*>& ItemTypes() {
    static const ShortcutItem shortcut;
    static const AutoStartItem autoStart;
    static const DirectoryItem directory;
    static const FileItem file;
    static const RegistryKeyItem registryKey;
    static const RegistryValueItem registryValue;
    static const std::vector<const ItemType*> types = {&shortcut, &autoStart,   &directory,
                                                       &file,     &registryKey, &registryValue};
    return types;
}

const ItemType* TypeOf(const setupcore::RecordItem& item) {
    for (const ItemType* type : ItemTypes())
        if (type->Handles(item))
            return type;
    return nullptr;
}

setupcore::RecordItem ResolveItem(const setupcore::RecordItem& item,
                                  const std::string& installDir) {
    using setupcore::ItemKind;
    if (item.kind != ItemKind::Directory && item.kind != ItemKind::FullPathFile &&
        item.kind != ItemKind::BareFile)
        return item;
    const setupcore::CanonicalPath canonical =
        CanonicalPathOf(item.path, item.kind == ItemKind::BareFile ? installDir : std::string());
    setupcore::RecordItem resolved;
    if (!canonical) {
        resolved.path = setupcore::EncodeItem(item);
        return resolved;
    }
    resolved.kind = item.kind == ItemKind::BareFile ? ItemKind::FullPathFile : item.kind;
    resolved.path = canonical.path;
    return resolved;
}
