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
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::string LoadString(UINT id);
// The paths waiting for deletion at the next restart, each followed by '|'.
std::string PendingRestartDeletions();
// A string-table entry with its "%s" filled, as the program shows it.
std::string Formatted(UINT id, const std::string& argument);
