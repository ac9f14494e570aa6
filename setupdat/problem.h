// What went wrong in the installation or the uninstallation, and where: the
// engine returns it, and the user interface alone decides how to tell it.
#pragma once

#include <windows.h>

#include <string>

enum class ProblemKind {
    None,
    NoMemory,               // a buffer could not be had
    CannotOpenFile,         // `path`: a package file that cannot be opened or read
    CannotCreateFile,       // `path`: a target or the record that cannot be created
    FileInvalid,            // `path`: a package file whose contents are damaged
    CannotCreateInstallDir, // refused, or could not be made
    InstallDirTooLong,      // `path`: longer than the install directory may be
    CannotOpenRecord,       // `path`: the install record that cannot be opened
    RecordInvalid,          // the install record is damaged
    NoSystemDirectory,      // `path`: the name of an unknown "%NAME%" token
    CannotWriteFile,        // `path`: a target whose writing failed (disk full, say)
    PathTooLong,            // `path`: a path the uninstaller refuses to cut
    CannotStartProgram,     // `path`: a program that could not be started
    AnotherRunActive,       // `path`: the product another run of which is under way
    Cancelled,              // the user declined to go on: nothing more to tell
};

struct Problem {
    ProblemKind kind = ProblemKind::None;
    std::string path; // the file, directory or name it concerns, when there is one
    DWORD error = 0;  // the system's reason, when the system gave one

    static Problem Of(ProblemKind kind, std::string path = std::string(), DWORD error = 0) {
        return Problem{kind, std::move(path), error};
    }
    explicit operator bool() const { return kind != ProblemKind::None; }
};
