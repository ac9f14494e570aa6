// Calls into the engine as the user interface makes them, for tests that
// check what the user is shown: a problem becomes its message box, and the
// copy run asks through the wizard's own prompts.
#pragma once

#include "install_prompts.h"
#include "item_policy.h"
#include "problem_message.h"
#include "record_item.h"
#include "setup_dat.h"
#include "wizard_prompts.h"

#include <deque>
#include <string>
#include <vector>

// Shows the problem as the wizard does; 1 when there was none, else 0.
inline int Shown(const Problem& problem) {
    ShowProblem(problem);
    return problem ? 0 : 1;
}

// The copy run of `dat` into its install directory, asking and telling as
// the wizard does; 1 when it installed everything.
inline int RunCopy(CSetupDat& dat) {
    WizardPrompts prompts;
    return Shown(dat.InstallFiles("SetupInfo.dat", prompts));
}

// Records the item that `text` stands for, as the installation would.
inline bool AddItem(CSetupDat& dat, const std::string& text) {
    return dat.AddInstalledItem(setupcore::ClassifyItem(text, setupcore::NoLeadBytes));
}

// Lets the uninstaller remove anything, for tests of how it removes.
class AllowEverything : public ItemPolicy {
public:
    void Prepare(const CSetupDat&) override {}
    bool Allows(const setupcore::RecordItem&) const override { return true; }
};

// Removes what the record at `recordPath` names, as far as `policy` allows,
// telling what it could not as the uninstaller does; 1 when the record was read.
inline int RemoveRecorded(const std::string& recordPath, ItemPolicy& policy,
                          std::vector<ItemLeft>* leftOut = nullptr) {
    CSetupDat reader;
    std::vector<ItemLeft> left;
    const int read = Shown(reader.RemoveInstalled(recordPath, policy, left));
    if (leftOut)
        *leftOut = left;
    return read;
}

// Answers the engine's questions in order, and remembers them.
class ScriptedPrompts : public InstallPrompts {
public:
    bool RetryFileInUse(const std::string& target, bool isLibrary) override {
        asked.push_back(target + (isLibrary ? " (library)" : ""));
        if (answers.empty())
            return false;
        const bool retry = answers.front();
        answers.pop_front();
        return retry;
    }
    std::deque<bool> answers;
    std::vector<std::string> asked;
};
