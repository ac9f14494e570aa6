// The next run's recovery from a journal, on real directories and the real
// registry. The journal lies under HKEY_CURRENT_USER, where any program of
// the user's could have written it: what a run of ours made is put right,
// and nothing that lies elsewhere is touched.
#include "engine_test_support.h"
#include "journal_store.h"
#include "reg_key_holder.h"
#include "run_journal.h"
#include "run_recovery.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using setupcore::JournalStep;
using setupcore::RunJournal;
using setupcore::StepKind;

constexpr char kProduct[] = "Kestrel Recovery Test";
constexpr char kVictimKey[] = "Software\\KestrelRecoveryVictim";

JournalStep Step(StepKind kind, const std::string& path) {
    JournalStep step;
    step.kind = kind;
    step.path = path;
    return step;
}

class RunRecovery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryA(install_.c_str(), nullptr));
        WriteFileBytes(install_ + "\\new.txt", "made by the run");
        WriteFileBytes(install_ + "\\kept.txt", "new version");
        WriteFileBytes(install_ + "\\kept.txt.kst-old", "old version");
        WriteFileBytes(install_ + "\\kept.txt.kst-new", "half a successor");
        WriteFileBytes(elsewhere_ / "precious.txt", "the user's");
        CRegKeyHolder victim;
        ASSERT_EQ(victim.Create(HKEY_CURRENT_USER, kVictimKey), ERROR_SUCCESS);
        ::RegSetValueExA(victim.m_hKey, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("keep"), 5);
    }
    void TearDown() override {
        ClearJournal(kProduct);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kVictimKey);
    }

    // A run into the install directory that wrote new.txt and replaced
    // kept.txt, with two steps a stranger added: a file elsewhere and a
    // value of someone else's key, both "new".
    RunJournal Journal(bool committed) const {
        RunJournal journal;
        journal.product = kProduct;
        journal.place = install_;
        JournalStep value = Step(StepKind::RegistryValue, kVictimKey);
        value.name = "x";
        journal.steps = {Step(StepKind::Directory, install_),
                         Step(StepKind::NewFile, install_ + "\\new.txt"),
                         Step(StepKind::ReplacedFile, install_ + "\\kept.txt"),
                         Step(StepKind::NewFile, elsewhere_ / "precious.txt"), value};
        if (committed)
            journal.steps.push_back(Step(StepKind::Committed, ""));
        return journal;
    }
    Recovery Recover(const RunJournal& journal) {
        EXPECT_TRUE(WriteJournal(kProduct, setupcore::EncodeJournal(journal)));
        return RecoverInterruptedRun(kProduct, std::string(), std::string(), &log_);
    }
    void ExpectStrangersUntouched() {
        EXPECT_EQ(ReadFileBytes(elsewhere_ / "precious.txt"), "the user's");
        EXPECT_TRUE(log_.Has("Left alone (not where a run of ours makes anything): " +
                             elsewhere_ / "precious.txt"));
        EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kVictimKey, "x"), "keep");
        std::string text;
        EXPECT_FALSE(ReadJournal(kProduct, text)) << "the journal goes once acted on";
    }

    TempDir root_, elsewhere_;
    const std::string install_ = root_ / "App";
    CapturedLog log_;
};

TEST_F(RunRecovery, AnInstallationThatDidNotCommitIsUndone) {
    EXPECT_EQ(Recover(Journal(false)).found, RecoveryFound::InstallUndone);
    EXPECT_FALSE(FileExists(install_ + "\\new.txt"));
    EXPECT_EQ(ReadFileBytes(install_ + "\\kept.txt"), "old version") << "back byte for byte";
    EXPECT_FALSE(FileExists(install_ + "\\kept.txt.kst-old"));
    EXPECT_FALSE(FileExists(install_ + "\\kept.txt.kst-new"));
    EXPECT_TRUE(DirectoryExists(install_)) << "it holds the old file: not emptied, not removed";
    ExpectStrangersUntouched();
}

TEST_F(RunRecovery, AnInstallationThatCommittedIsFinished) {
    EXPECT_EQ(Recover(Journal(true)).found, RecoveryFound::InstallFinished);
    EXPECT_EQ(ReadFileBytes(install_ + "\\new.txt"), "made by the run");
    EXPECT_EQ(ReadFileBytes(install_ + "\\kept.txt"), "new version");
    EXPECT_FALSE(FileExists(install_ + "\\kept.txt.kst-old")) << "the old file goes";
    EXPECT_FALSE(FileExists(install_ + "\\kept.txt.kst-new"));
    ExpectStrangersUntouched();
}

TEST_F(RunRecovery, AJournalWhoseDirectoryNoInstallationGoesToChangesNothing) {
    RunJournal journal = Journal(false);
    journal.place = elsewhere_ / "..";
    EXPECT_EQ(Recover(journal).found, RecoveryFound::Unreadable);
    journal.place = "C:\\";
    EXPECT_EQ(Recover(journal).found, RecoveryFound::Unreadable);
    EXPECT_EQ(ReadFileBytes(install_ + "\\new.txt"), "made by the run");
    EXPECT_EQ(ReadFileBytes(elsewhere_ / "precious.txt"), "the user's");
}

TEST_F(RunRecovery, ADamagedJournalIsLeftForAPersonToSee) {
    ASSERT_TRUE(WriteJournal(kProduct, "KestrelJournal\t1\tinstall\tp\t"));
    EXPECT_EQ(RecoverInterruptedRun(kProduct, std::string(), std::string(), &log_).found,
              RecoveryFound::Unreadable);
    EXPECT_EQ(ReadFileBytes(install_ + "\\new.txt"), "made by the run");
    std::string text;
    EXPECT_TRUE(ReadJournal(kProduct, text));
}

} // namespace
