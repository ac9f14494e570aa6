// The kinds of item an installation makes, one class each: how it is made
// (each kind's own Make, with what that kind needs), how an item of a record
// is recognised as one that an installation of ours can have made (the
// uninstaller's removal rule for that kind), how it is removed, and how its
// removal is told. The uninstaller asks the first kind that handles an item;
// an item no kind handles, or one its kind does not own, stays.
//
// A new kind is one class here and one line in ItemTypes().
#pragma once

#include "item_outcome.h"
#include "record_item.h"

#include <string>
#include <vector>

// Where an installation of ours puts things, as the uninstaller sees them,
// every path canonical.
struct RemovalPlaces {
    std::string installDir;
    std::string windowsDir;
    std::vector<std::string> windowsFiles;    // created there by the installation
    std::vector<std::string> programsFolders; // where its group lies
    std::vector<std::string> linkFolders;     // the desktop and Quick Launch
    std::vector<std::string> entryNames;      // its uninstall entries

    // Whether a command line starts a program in the install directory.
    bool RefersToInstallation(const std::string& command) const;
    // The folder of `folders` that holds `path` strictly below it; null when none.
    static const std::string* FolderHolding(const std::vector<std::string>& folders,
                                            const std::string& path);
};

class ItemType {
public:
    virtual ~ItemType() = default;
    // What the kind is called: "file", "shortcut", ...
    virtual const char* Name() const = 0;
    // Whether `item` (its path canonical) is of this kind.
    virtual bool Handles(const setupcore::RecordItem& item) const = 0;
    // Whether an installation of ours, in `places`, can have made it.
    virtual bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const = 0;
    virtual ItemOutcome Remove(const setupcore::RecordItem& item) const = 0;
    // The log's line for its removal; `text` is the item as recorded.
    virtual std::string Describe(const setupcore::RecordItem& item, ItemOutcome outcome,
                                 const std::string& text) const;
};

// Every kind, the most particular first.
const std::vector<const ItemType*>& ItemTypes();
// The kind of `item`; null for an item no installation makes.
const ItemType* TypeOf(const setupcore::RecordItem& item);

// The log's line for an item no kind owns.
std::string DescribeLeftAlone(const setupcore::RecordItem& item, const std::string& text);

// `item` with its path in canonical form, a bare name put below
// `installDir`; an Empty item keeping its text when the path has no
// canonical form. Registry items are returned as they are.
setupcore::RecordItem ResolveItem(const setupcore::RecordItem& item, const std::string& installDir);
