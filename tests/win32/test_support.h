// Shared by the Win32 tests: a user interface that records every box and
// answers from a script, real temporary directories, and file helpers.
#pragma once

#include "string_table.h"
#include "user_interface.h"
#include "test_files.h"

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    UINT type;
};

class ScriptedUserInterface : public CUserInterface {
public:
    ScriptedUserInterface() { SetUserInterface(this); }
    ~ScriptedUserInterface() override { SetUserInterface(nullptr); }

    std::optional<int> InterceptMessageBox(const std::string& text, UINT type) override;
    std::optional<INT_PTR> InterceptModal(UINT templateId) override;

    // Answers, in order, for the boxes and dialogs to come; IDOK once they run out.
    std::deque<int> answers;
    std::vector<ShownBox> boxes;
    std::vector<UINT> dialogs; // template ids of the dialogs run
    // Called with each dialog's template id; may act on the situation (say,
    // release a locked file) before the answer is given.
    void (*onDialog)(UINT templateId) = nullptr;

private:
    int NextAnswer();
};

// A fresh directory under the temporary directory, removed with all it holds.
// A directory that cannot be made fails the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A key under HKEY_CURRENT_USER that a test writes: deleted with all it holds
// when the guard is made and again when it goes, so a failed assertion leaves
// the registry as it was found.
class RegistryKeyGuard {
public:
    explicit RegistryKeyGuard(std::string path);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A registry value that a test changes: put back as it was (or deleted
// again) when the guard goes.
class RegistryValueGuard {
public:
    RegistryValueGuard(HKEY root, const char* keyPath, const char* name);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;
    // Sets the value to `text` (REG_SZ), creating its key when needed.
    void Set(const std::string& text) const;

private:
    HKEY root_;
    const char* key_;
    const char* name_;
    bool existed_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> data_;
};

// A file that a test makes outside its temporary directory (the Windows
// directory, say): deleted when the guard goes.
class FileGuard {
public:
    explicit FileGuard(std::string path) : path_(std::move(path)) {}
    ~FileGuard() { ::DeleteFileA(path_.c_str()); }
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Points the shell's Programs folders, the one shared by all users and the
// user's own, at directories of the test's choosing, and back again when it
// goes. The shell copies what it reads into "Shell Folders", so that key is
// put back as well.
class ProgramsFoldersOverride {
public:
    ProgramsFoldersOverride(const std::string& shared, const std::string& own);

private:
    RegistryValueGuard sharedSetting_;
    RegistryValueGuard sharedCopy_;
    RegistryValueGuard ownSetting_;
    RegistryValueGuard ownCopy_;
};

// Keys and values under HKEY_CURRENT_USER, as the tests look at them.
bool RegistryKeyExists(const std::string& path);
bool RegistryValueExists(const std::string& keyPath, const char* name);
// Sets `name` to `text`, creating the key when needed.
void SetRegistryValue(const std::string& keyPath, const char* name, const std::string& text = "x");
// A text value; "<no key>" or "<no value>" when it is not there.
std::string RegistryString(const std::string& keyPath, const char* name);
// A DWORD value under HKEY_CURRENT_USER; ~0 when there is none.
DWORD RegistryNumber(const std::string& keyPath, const char* name);

std::string LoadString(UINT id);
// The paths waiting for deletion at the next restart, each followed by '|'.
std::string PendingRestartDeletions();

// Runs `commandLine` and waits for it; true when it ran and ended with 0.
bool RunAndWait(const std::string& commandLine);
// A string-table entry with its "%s" filled, as the program shows it.
std::string Formatted(UINT id, const std::string& argument);
