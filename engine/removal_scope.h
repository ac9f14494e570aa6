// The places an installation of this system can have put something, and so
// the only places its uninstaller removes anything from. Which item of a
// record is ours is each item kind's own rule (items/): the scope gathers
// the places, once, and asks the item's kind. In short:
// - files and directories below the install directory (the record's own);
// - below a Programs folder, the group's directories and links;
// - on the desktop and in Quick Launch, links into the install directory;
// - below the Windows directory, only the files the installation created
//   there (its made list says which), never one it replaced;
// - under HKEY_CURRENT_USER, the uninstall entry whose UninstallString names
//   the install directory, and the auto-start value that starts a program in it;
// - the folders it made: the install directory, folders below it, parents of
//   it that no one else keeps, and the group's folders below a Programs folder.
// Every path is compared in canonical form, the form it is then removed in,
// and no link on the way to an item is followed.
#pragma once

#include "install_record.h"
#include "item_type.h"

#include <string>
#include <vector>

// The uninstall entry a record names (the key, or a value of it), which is
// the product's name; empty when it names none.
std::string UninstallEntryNameOf(const setupcore::InstallRecord& record);

class RemovalScope {
public:
    // `installDir` canonical.
    explicit RemovalScope(std::string installDir);

    // The files the installation created below the Windows directory.
    void AllowWindowsFiles(std::vector<std::string> files);
    // An installation for the user alone puts nothing in the places of
    // everyone: its group lies in the user's own Programs folder, and it has
    // no file below the Windows directory.
    void LimitToTheUser();
    // Once the record is read, before the first item is asked about.
    void Prepare(const setupcore::InstallRecord& record);

    // The kind of `item` (resolved) when an installation of ours can have
    // made it; null when it stays.
    const ItemType* OwnerOf(const setupcore::RecordItem& item) const;
    bool Allows(const setupcore::RecordItem& item) const { return OwnerOf(item) != nullptr; }
    // Whether a folder on the made list (canonical) lies where an
    // installation makes folders.
    bool AllowsMadeFolder(const std::string& folder) const;

    const RemovalPlaces& Places() const { return places_; }

private:
    RemovalPlaces places_;
    bool perUser_ = false;
};
