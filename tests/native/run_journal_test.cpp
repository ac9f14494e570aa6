#include "run_journal.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

JournalStep Step(StepKind kind, const std::string& path = std::string()) {
    JournalStep step;
    step.kind = kind;
    step.path = path;
    return step;
}

RunJournal SampleJournal() {
    RunJournal journal;
    journal.product = "Kestrel\tNotes %1";
    journal.place = "C:\\Program Files\\Kestrel Notes";
    JournalStep value;
    value.kind = StepKind::RegistryValue;
    value.path = "Software\\Kestrel";
    value.name = "";
    value.existed = true;
    value.type = 3;
    value.data = std::string("\0\n\r\t%\xff", 6);
    JournalStep place;
    place.kind = StepKind::EarlierPlace;
    place.path = "C:\\Old";
    place.existed = true;
    journal.steps = {Step(StepKind::Directory, "C:\\Program Files\\Kestrel Notes"),
                     Step(StepKind::NewFile, "C:\\Program Files\\Kestrel Notes\\a.txt"),
                     Step(StepKind::ReplacedFile, "C:\\Program Files\\Kestrel Notes\\b.txt"),
                     value,
                     Step(StepKind::RegistryKey, "Software\\Kestrel"),
                     Step(StepKind::Committed),
                     place,
                     Step(StepKind::EarlierItem, "%REG_CURRENT_USER%Software\\Kestrel\\Old"),
                     Step(StepKind::EarlierFolder, "C:\\Old")};
    return journal;
}

} // namespace

TEST(RunJournal, EveryStepComesBackAsItWasWritten) {
    const RunJournal written = SampleJournal();
    RunJournal read;
    ASSERT_TRUE(DecodeJournal(EncodeJournal(written), read));
    EXPECT_EQ(read.product, written.product);
    EXPECT_EQ(read.place, written.place);
    ASSERT_EQ(read.steps.size(), written.steps.size());
    for (size_t i = 0; i < read.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(read.steps[i].kind, written.steps[i].kind);
        EXPECT_EQ(read.steps[i].path, written.steps[i].path);
        EXPECT_EQ(read.steps[i].name, written.steps[i].name);
        EXPECT_EQ(read.steps[i].existed, written.steps[i].existed);
        EXPECT_EQ(read.steps[i].type, written.steps[i].type);
        EXPECT_EQ(read.steps[i].data, written.steps[i].data);
    }
    EXPECT_TRUE(read.Committed());
}

TEST(RunJournal, StepsAddedOneByOneReadAsTheWhole) {
    const RunJournal written = SampleJournal();
    std::string text = EncodeJournalHead(written);
    for (const JournalStep& step : written.steps)
        text += EncodeJournalStep(step);
    EXPECT_EQ(text, EncodeJournal(written));
}

TEST(RunJournal, OnlyAJournalWithoutItsCommitIsUncommitted) {
    RunJournal journal = SampleJournal();
    journal.steps.resize(5);
    RunJournal read;
    ASSERT_TRUE(DecodeJournal(EncodeJournal(journal), read));
    EXPECT_FALSE(read.Committed());
}

TEST(RunJournal, DamagedOrCutTextsAreRefused) {
    const std::string whole = EncodeJournal(SampleJournal());
    RunJournal read;
    // Cut anywhere but at a line's end, the text is refused: a half-written
    // step must not be carried out on a guess.
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        if (cut > 0 && whole[cut - 1] == '\n')
            continue; // a whole journal of fewer steps
        EXPECT_FALSE(DecodeJournal(whole.substr(0, cut), read)) << "cut at " << cut;
    }
    const char* damaged[] = {
        "KestrelJournal\t2\tinstall\tp\tC:\\x\n",        // another version
        "KestrelJournal\t1\trepair\tp\tC:\\x\n",         // no such operation
        "KestrelJournal\t1\tinstall\tp\t\n",             // no place
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nnew\n",    // a file step without its path
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nmove\tC:\\y\n", // no such step
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nnew\tC:\\%4\n", // an escape cut short
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nnew\tC:\\%zz\n", // not hexadecimal
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nvalue\tk\tn\t2\t1\t\n", // existed is 0 or 1
        "KestrelJournal\t1\tinstall\tp\tC:\\x\nvalue\tk\tn\t1\t99999999999\t\n",
        "KestrelJournal\t1\tinstall\tp\tC:\\x\ncommit\tC:\\y\n",
    };
    for (const char* text : damaged)
        EXPECT_FALSE(DecodeJournal(text, read)) << text;
}

TEST(RunJournal, WaitingNamesLieBesideTheFileAndDifferByOccurrence) {
    EXPECT_EQ(SuccessorName("C:\\A\\b.txt", 0), "C:\\A\\b.txt.kst-new");
    EXPECT_EQ(SuccessorName("C:\\A\\b.txt", 2), "C:\\A\\b.txt.kst-new2");
    EXPECT_EQ(AsideName("C:\\A\\b.txt"), "C:\\A\\b.txt.kst-old");
}
