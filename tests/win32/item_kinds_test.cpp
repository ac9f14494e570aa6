// The installation's middle floor on real files, shortcuts and the real
// registry: the install record as a value written and read back byte for
// byte, the transaction that undoes every kind of change it made, and each
// kind of item making, recognising, removing and telling its own items.
#include "auto_start_item.h"
#include "directory_item.h"
#include "engine_test_support.h"
#include "install_record_file.h"
#include "install_record_format.h"
#include "item_type.h"
#include "reg_key_holder.h"
#include "registry_change.h"
#include "registry_key_item.h"
#include "registry_names.h"
#include "registry_value_item.h"
#include "shell_link.h"
#include "shortcut_item.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const char kTestKey[] = "Software\\KestrelSetupTests";

std::string Prefixed(const std::string& path) {
    return "%REG_CURRENT_USER%" + path;
}

setupcore::RecordItem Item(const std::string& text) {
    return setupcore::ClassifyItem(text, setupcore::NoLeadBytes);
}

} // namespace

class InstallRecordTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir install;
    TestInstallation installation;
    void SetUp() override { installation.SetDirectories("", install.Path()); }
    std::string RecordPath() const { return install / "SetupInfo.dat"; }
};

TEST_F(InstallRecordTest, IsWrittenByteForByteAndReadsBackAsTheSameItems) {
    InstallTransaction& run = installation.Begin();
    const std::vector<std::string> texts = {install / "App.exe", Prefixed("Software\\A\\"),
                                            std::string(1000, 'L')};
    for (const std::string& text : texts)
        ASSERT_FALSE(run.Record(Item(text))) << text;
    EXPECT_EQ(run.Record(Item(std::string(1024, 'x'))).kind, ProblemKind::PathTooLong);
    EXPECT_TRUE(run.Record(Item(""))) << "an empty item would end the list in the record";
    ASSERT_EQ(Shown(run.WriteRecord("SetupInfo.dat")), 1);
    EXPECT_EQ(ReadFileBytes(RecordPath()),
              setupcore::EncodeInstallRecord({install.Path(), "", texts}));

    setupcore::InstallRecord read;
    ASSERT_EQ(Shown(ReadInstallRecord(RecordPath(), read)), 1);
    EXPECT_EQ(read.installDir, install.Path());
    ASSERT_EQ(read.items.size(), 3u);
    EXPECT_TRUE(read.NotIn(run.RecordSoFar()).empty());
    EXPECT_EQ(read.items[1].kind, setupcore::ItemKind::RegistryKey);
    EXPECT_TRUE(ui.boxes.empty());
    run.Commit();
}

TEST_F(InstallRecordTest, ARecordThatCannotBeCreatedIsNamed) {
    installation.SetDirectories("", install / "missing");
    EXPECT_EQ(Shown(installation.Begin().WriteRecord("SetupInfo.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Setup can not create the destination file " +
                                    install / "missing\\SetupInfo.dat" + " .");
}

TEST_F(InstallRecordTest, AMissingDamagedOrOversizedRecordIsNamedAndRefused) {
    setupcore::InstallRecord record;
    EXPECT_EQ(Shown(ReadInstallRecord(RecordPath(), record)), 0);
    const std::string good = setupcore::EncodeInstallRecord({install.Path(), "", {"keep.txt"}});
    for (std::string bad : {std::string("Kestrel") + good.substr(7, 2) + "X" + good.substr(10),
                            good.substr(0, good.size() - 4), good.substr(0, 10)}) {
        SCOPED_TRACE("record of " + std::to_string(bad.size()) + " bytes");
        WriteFileBytes(RecordPath(), bad);
        EXPECT_EQ(Shown(ReadInstallRecord(RecordPath(), record)), 0);
    }
    WriteFileBytes(RecordPath(), good);
    ExtendFile(RecordPath(), setupcore::kMaxRecordSize + 1);
    EXPECT_EQ(Shown(ReadInstallRecord(RecordPath(), record)), 0);
    ASSERT_EQ(ui.boxes.size(), 5u);
    EXPECT_EQ(ui.boxes[0].text,
              "Can not open the Setup info file " + RecordPath() + "\n.Setup can not to continue.");
    for (size_t i = 1; i < ui.boxes.size(); ++i)
        EXPECT_EQ(ui.boxes[i].text, "The setup information file is invalid.") << i;
}

TEST(InstallTransaction, UndoesEveryKindOfChangeItMadeWhenItDoesNotCommit) {
    ScriptedUserInterface ui;
    TempDir install, shell;
    RegistryKeyGuard testKey{kTestKey};
    SetRegistryValue(kTestKey, "Kept", "before");
    WriteFileBytes(shell / "old.lnk", "the user's old link");
    CapturedLog log;
    {
        TestInstallation installation;
        installation.SetDirectories("", install.Path());
        InstallTransaction& run = installation.Begin(&log);
        const std::string newKey = std::string(kTestKey) + "\\New";
        ASSERT_EQ(MakeRegistryKey(run, newKey), ERROR_SUCCESS);
        ASSERT_FALSE(RegistryValueItem::Make(run, newKey, "Value", "made"));
        ASSERT_FALSE(RegistryValueItem::Make(run, kTestKey, "Kept", "overwritten"));
        ASSERT_FALSE(DirectoryItem::Make(run, shell / "Group\\Deeper"));
        ASSERT_FALSE(ShortcutItem::Make(
            run, {shell / "old.lnk", install / "App.exe", install.Path(), "", 0, ""}));
        ASSERT_FALSE(ShortcutItem::Make(run, {shell / "Group\\Deeper\\new.lnk", install / "App.exe",
                                              install.Path(), "", 0, ""}));
        EXPECT_EQ(RegistryString(kTestKey, "Kept"), "overwritten");
        EXPECT_TRUE(FileExists(shell / "Group\\Deeper\\new.lnk"));
        EXPECT_TRUE(log.Has("Made: " + shell / "Group\\Deeper\\new.lnk"));
        EXPECT_TRUE(
            log.Has("Registry value made: HKEY_CURRENT_USER\\" + newKey + "\\Value = made"));
        EXPECT_EQ(run.RecordSoFar().items.size(), 5u);
    } // not committed: undone on the way out, last change first
    EXPECT_FALSE(RegistryKeyExists(std::string(kTestKey) + "\\New"));
    EXPECT_EQ(RegistryString(kTestKey, "Kept"), "before");
    EXPECT_EQ(ReadFileBytes(shell / "old.lnk"), "the user's old link");
    EXPECT_FALSE(DirectoryExists(shell / "Group"));
    EXPECT_TRUE(log.Has("The run was undone: what it made is taken away again"));
    EXPECT_TRUE(log.Has("Removed: " + shell / "Group"));
    EXPECT_TRUE(log.Has("Removed: " + shell / "Group\\Deeper"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(InstallTransaction, ACommittedRunIsNotUndone) {
    TempDir install;
    RegistryKeyGuard testKey{kTestKey};
    {
        TestInstallation installation;
        installation.SetDirectories("", install.Path());
        InstallTransaction& run = installation.Begin();
        ASSERT_EQ(MakeRegistryKey(run, kTestKey), ERROR_SUCCESS);
        ASSERT_FALSE(DirectoryItem::Make(run, install / "made"));
        run.Commit();
    }
    EXPECT_TRUE(RegistryKeyExists(kTestKey));
    EXPECT_TRUE(DirectoryExists(install / "made"));
}

// Each kind, as the uninstaller meets it: the kind that handles an item,
// whether an installation in these places can have made it, what its
// removal did and the log's line for it.
TEST(ItemKinds, EachKindRecognisesRemovesAndTellsItsOwnItems) {
    ScriptedUserInterface ui;
    TempDir install, programs, elsewhere;
    RegistryKeyGuard testKey{kTestKey};
    RegistryKeyGuard entry{std::string(kUninstallKeyBase) + "KestrelKindsTest"};
    SetRegistryValue(entry.Path(), "UninstallString", "\"" + install / "Setup.exe\" /UNINSTALL");
    RegistryValueGuard autoStart(HKEY_CURRENT_USER, kRunKey, kRunValue);
    autoStart.Set("\"" + install / "App.exe\"");
    ASSERT_TRUE(::CreateDirectoryA((programs / "Group").c_str(), nullptr));
    ASSERT_EQ(CreateShortcut(install / "App.exe", programs / "Group\\App.lnk", nullptr, nullptr, 0,
                             nullptr),
              S_OK);
    ASSERT_EQ(CreateShortcut("C:\\Other\\x.exe", programs / "Group\\Other.lnk", nullptr, nullptr, 0,
                             nullptr),
              S_OK);
    WriteFileBytes(install / "a.txt", "ours");
    WriteFileBytes(install / "busy.txt", "held");
    WriteFileBytes(install / "%reg_current_user%x.txt", "a file after all");
    WriteFileBytes(elsewhere / "theirs.txt", "theirs");
    UniqueFileHandle held(::CreateFileA((install / "busy.txt").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));

    RemovalPlaces places;
    places.installDir = install.Path();
    places.programsFolders = {programs.Path()};
    places.entryNames = {"KestrelKindsTest"};
    const std::string entryKey = std::string(kUninstallKeyBase) + "KestrelKindsTest\\";
    const struct {
        const char* name;
        std::string text;
        const char* kind; // the kind that handles it; empty for none
        bool ours;
        ItemOutcome outcome;
        std::string line;
    } rows[] = {
        {"a file below the install directory", install / "a.txt", "file", true,
         ItemOutcome::Removed, "Removed " + install / "a.txt"},
        {"a file in use", install / "busy.txt", "file", true, ItemOutcome::Scheduled,
         "Scheduled for removal at restart: " + install / "busy.txt"},
        {"the prefix in other case names a file", install / "%reg_current_user%x.txt", "file", true,
         ItemOutcome::Removed, "Removed " + install / "%reg_current_user%x.txt"},
        {"a file elsewhere", elsewhere / "theirs.txt", "file", false, ItemOutcome::Refused,
         "Left alone (not made by this installation): " + elsewhere / "theirs.txt"},
        {"the group's link", programs / "Group\\App.lnk", "shortcut", true, ItemOutcome::Removed,
         "Removed " + programs / "Group\\App.lnk"},
        {"another program's link", programs / "Group\\Other.lnk", "shortcut", false,
         ItemOutcome::Refused,
         "Left alone (not made by this installation): " + programs / "Group\\Other.lnk"},
        {"the group", programs / "Group\\", "directory", true, ItemOutcome::Scheduled,
         "Scheduled for removal at restart: " + programs / "Group"},
        {"the entry's value", Prefixed(entryKey + "UninstallString"), "registry value", true,
         ItemOutcome::Removed, "Removed registry item " + Prefixed(entryKey + "UninstallString")},
        {"the entry", Prefixed(entryKey), "registry key", true, ItemOutcome::Removed,
         "Removed registry item " + Prefixed(entryKey)},
        {"the auto-start value", Prefixed(std::string(kRunKey) + kRunValue), "auto-start value",
         true, ItemOutcome::Removed,
         "Removed registry item " + Prefixed(std::string(kRunKey) + kRunValue)},
        {"another key", Prefixed(std::string(kTestKey) + "\\"), "registry key", false,
         ItemOutcome::Refused,
         "Left alone (not made by this installation): " + Prefixed(std::string(kTestKey) + "\\")},
        {"a registry item without a parent", Prefixed("KestrelSetupTests"), "", false,
         ItemOutcome::Refused, "Left alone (not a usable item): " + Prefixed("KestrelSetupTests")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const setupcore::RecordItem item = ResolveItem(Item(row.text), install.Path());
        const ItemType* type = TypeOf(item);
        EXPECT_EQ(type ? type->Name() : "", std::string(row.kind));
        const bool ours = type && type->IsOurs(item, places);
        EXPECT_EQ(ours, row.ours);
        const ItemOutcome outcome = ours ? type->Remove(item) : ItemOutcome::Refused;
        EXPECT_EQ(outcome, row.outcome);
        EXPECT_EQ(type && ours ? type->Describe(item, outcome, row.text)
                               : DescribeLeftAlone(item, row.text),
                  row.line);
    }
    EXPECT_FALSE(FileExists(install / "a.txt"));
    EXPECT_FALSE(RegistryKeyExists(entry.Path()));
    EXPECT_FALSE(RegistryValueExists(kRunKey, kRunValue));
    EXPECT_TRUE(FileExists(elsewhere / "theirs.txt"));
    // A removal that could be neither done nor left to the restart says so:
    // it is never logged as scheduled.
    EXPECT_EQ(TypeOf(Item(install / "a.txt"))
                  ->Describe(Item(install / "a.txt"), ItemOutcome::Failed, install / "a.txt"),
              "Could not remove " + install / "a.txt");
}

TEST(CRegKeyHolder, KeepsItsKeyWhenAnOpenFailsAndClosesOnce) {
    RegistryKeyGuard testKey{kTestKey};
    CRegKeyHolder holder;
    EXPECT_EQ(holder.Close(), ERROR_SUCCESS);
    ASSERT_EQ(holder.Create(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
    HKEY held = holder.m_hKey;
    EXPECT_NE(holder.Open(HKEY_CURRENT_USER, "Software\\NoSuchKestrelKey\\X", KEY_READ),
              ERROR_SUCCESS);
    EXPECT_EQ(holder.m_hKey, held);
    EXPECT_EQ(holder.Open(HKEY_CURRENT_USER, "Software", KEY_READ), ERROR_SUCCESS);
    EXPECT_NE(holder.m_hKey, held);
    EXPECT_EQ(holder.Close(), ERROR_SUCCESS);
    EXPECT_EQ(holder.m_hKey, nullptr);
}
