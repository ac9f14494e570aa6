// The journal of one run, kept where the next run of the product finds it:
// before each change an installation or an uninstallation makes, the step
// it is about to take. A run that dies midway leaves its journal behind,
// and the next run reads from it what to undo (an installation that did not
// commit) or to finish (one that did, or an uninstallation).
//
// One text, a line a step, each field escaped so that no byte of a path or
// of a registry value's data can end a field or a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setupcore {

enum class JournalOp { Install, Uninstall };

enum class StepKind {
    Directory,     // a directory about to be made where none stood
    NewFile,       // a file about to be written where none stood
    ReplacedFile,  // a file about to be replaced or set aside
    RegistryValue, // a value about to be set or deleted, with what stood before
    RegistryKey,   // a key about to be made where none stood
    Committed,     // the installation is whole: from here on, finish, never undo
    EarlierPlace,  // an update's earlier installation: its directory and kind
    EarlierItem,   // an item of it the update leaves behind, as the record stores it
    EarlierFolder, // a folder it made that may now be empty
};

struct JournalStep {
    StepKind kind = StepKind::Directory;
    std::string path;     // files and directories; the key of registry steps; the item's text
    std::string name;     // a registry value's name
    bool existed = false; // a registry value: whether one stood; EarlierPlace: limited to the user
    uint32_t type = 0;    // a registry value's type
    std::string data;     // a registry value's earlier data
};

struct RunJournal {
    JournalOp op = JournalOp::Install;
    std::string product; // the product's name, as its run lock knows it
    std::string place;   // the install directory; for an uninstallation, the installed program
    std::vector<JournalStep> steps;

    bool Committed() const;
};

// The journal's text: its first line, then one line a step, so that a step
// can be added to the text without encoding the rest again.
std::string EncodeJournalHead(const RunJournal& journal);
std::string EncodeJournalStep(const JournalStep& step);
std::string EncodeJournal(const RunJournal& journal);
// False for a text that is no journal, or one cut short or damaged anywhere.
bool DecodeJournal(const std::string& text, RunJournal& journal);

// Where a file's successor and the file itself wait while a run replaces
// it: beside it, named after it. `occurrence` counts the earlier steps of the
// same run on the same file (a name the package holds twice); only the
// first one sets the old file aside.
std::string SuccessorName(const std::string& file, int occurrence);
std::string AsideName(const std::string& file);
// Where a file that did not stand before is written until it is whole.
std::string PartName(const std::string& file);

} // namespace setupcore
