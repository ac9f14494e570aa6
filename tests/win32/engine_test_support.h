// Calls into the engine as the user interface makes them, for tests that
// check what the user is shown: a problem becomes its message box, and the
// copy run asks through the wizard's own prompts.
#pragma once

#include "extract.h"
#include "install_prompts.h"
#include "install_transaction.h"
#include "item_outcome.h"
#include "problem_message.h"
#include "record_item.h"
#include "wizard_prompts.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// Every line a call wrote to its log, in order.
class CapturedLog : public InstallLog {
public:
    void Line(const std::string& text) override { lines.push_back(text); }
    bool Has(const std::string& text) const {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    std::vector<std::string> lines;
};

// Shows the problem as the wizard does; 1 when there was none, else 0.
inline int Shown(const Problem& problem) {
    ShowProblem(problem);
    return problem ? 0 : 1;
}

// A package and the directories of one copy run over it, set up the way a
// test needs, and the transaction of its last run kept for a look.
class TestInstallation {
public:
    Package package;
    std::string sourceDir, installDir;

    void SetDirectories(const std::string& source, const std::string& install) {
        sourceDir = source;
        installDir = install;
    }
    void AddFileEntry(const std::string& name, bool compressed) {
        package.entries.push_back({name, compressed});
    }
    // A transaction of its own, for tests that make items by hand.
    InstallTransaction& Begin(InstallLog* log = nullptr) {
        transaction_ = std::make_unique<InstallTransaction>(package, sourceDir, installDir, log);
        return *transaction_;
    }
    // The copy run into the install directory, asking and telling as the
    // wizard does; once it installed everything, committed as an
    // installation is, its old files and the package's copies cleared away.
    // 1 when it installed everything; a failed run is left as it stopped,
    // for Undo.
    int RunCopy(InstallPrompts* prompts = nullptr, CopyProgress* progress = nullptr) {
        WizardPrompts wizard;
        InstallTransaction& run = Begin();
        const Problem problem =
            InstallFiles(run, "SetupInfo.dat", prompts ? *prompts : wizard, progress);
        if (!problem) {
            run.Commit();
            run.replaced.DiscardOldFiles();
            ClearPackagedCopies(run);
        }
        return Shown(problem);
    }
    InstallTransaction& Transaction() { return *transaction_; }
    void Undo() { transaction_->Rollback(); }

private:
    std::unique_ptr<InstallTransaction> transaction_;
};

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
