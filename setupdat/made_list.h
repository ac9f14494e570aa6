// What an installation made that its install record does not name, kept in a
// file beside the record so that the uninstaller takes away exactly that and
// nothing else: the folders it made where none stood (the install directory's
// parents among them), and the files it created below the Windows directory.
// A folder that stood before the installation, or a Windows file it replaced,
// is never on the list, and so is never removed.
#pragma once

#include "problem.h"

#include <optional>
#include <string>
#include <vector>

struct MadeList {
    std::vector<std::string> folders;      // in the order made, root outward
    std::vector<std::string> windowsFiles; // created where no file stood
    bool perUser = false;                  // made for the user alone
};

// Writes the list into `installDir` under `fileName`.
Problem WriteMadeList(const std::string& installDir, const std::string& fileName,
                      const MadeList& list);

// Reads the list at `path`. No value when there is no such file (an
// installation made before the list was kept); RecordInvalid when it is
// damaged.
Problem ReadMadeList(const std::string& path, std::optional<MadeList>& list);
