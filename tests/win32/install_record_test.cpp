// Writing, reading and carrying out the install record on real files and the
// real registry.
#include "install_record_format.h"
#include "reg_key_holder.h"
#include "engine_test_support.h"
#include "setup_dat.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const char kTestKey[] = "Software\\KestrelSetupTests";

std::string Prefixed(const std::string& path) {
    return "%REG_CURRENT_USER%" + path;
}

} // namespace

class InstallRecordTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir install;
    RegistryKeyGuard testKey{kTestKey};
    CSetupDat dat;
    AllowEverything everything;
    void SetUp() override { dat.SetDirectories("", install.Path()); }
    std::string RecordPath() const { return install / "SetupInfo.dat"; }
};

TEST_F(InstallRecordTest, WrittenRecordHasTheExactLayoutAndReadsBack) {
    AddItem(dat, install / "App.exe");
    AddItem(dat, Prefixed("Software\\A\\"));
    AddItem(dat, std::string(1000, 'L'));
    ASSERT_EQ(Shown(dat.WriteInstallRecord("SetupInfo.dat")), 1);
    EXPECT_EQ(ReadFileBytes(RecordPath()),
              setupcore::EncodeInstallRecord(
                  {install.Path(),
                   "",
                   {install / "App.exe", Prefixed("Software\\A\\"), std::string(1000, 'L')}}));

    CSetupDat reader;
    ASSERT_EQ(Shown(reader.ReadInstallRecord(RecordPath())), 1);
    EXPECT_EQ(reader.m_szInstallDir, install.Path());
    EXPECT_EQ(reader.m_szReserved, "");
    ASSERT_EQ(reader.m_installed.size(), 3u);
    EXPECT_EQ(reader.m_installed[1]->szText, Prefixed("Software\\A\\"));
    EXPECT_EQ(reader.m_installed[2]->nLength, 1000);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(InstallRecordTest, RecordThatCannotBeCreatedIsNamed) {
    dat.SetDirectories("", install / "missing");
    EXPECT_EQ(Shown(dat.WriteInstallRecord("SetupInfo.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Setup can not create the destination file " +
                                    install / "missing\\SetupInfo.dat" + " .");
}

TEST_F(InstallRecordTest, MissingRecordIsNamedAndNothingIsRemoved) {
    EXPECT_EQ(RemoveRecorded(RecordPath(), everything), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Can not open the Setup info file " + RecordPath() + "\n.Setup can not to continue.");
}

TEST_F(InstallRecordTest, InvalidRecordIsRefusedKeptAndRemovesNothing) {
    WriteFileBytes(install / "keep.txt", "x");
    std::string good = setupcore::EncodeInstallRecord({install.Path(), "", {"keep.txt"}});
    for (std::string bad : {std::string("Kestrel") + good.substr(7, 2) + "X" + good.substr(10),
                            good.substr(0, good.size() - 4), good.substr(0, 10)}) {
        SCOPED_TRACE("record of " + std::to_string(bad.size()) + " bytes");
        WriteFileBytes(RecordPath(), bad);
        EXPECT_EQ(RemoveRecorded(RecordPath(), everything), 0);
        EXPECT_TRUE(FileExists(install / "keep.txt"));
        EXPECT_TRUE(FileExists(RecordPath()));
    }
    ASSERT_EQ(ui.boxes.size(), 3u);
    for (const ShownBox& box : ui.boxes)
        EXPECT_EQ(box.text, "The setup information file is invalid.");
}

TEST_F(InstallRecordTest, RecordLargerThanAnyInstallationWritesIsRefusedUnread) {
    WriteFileBytes(install / "keep.txt", "x");
    WriteFileBytes(RecordPath(),
                   setupcore::EncodeInstallRecord({install.Path(), "", {"keep.txt"}}));
    ExtendFile(RecordPath(), setupcore::kMaxRecordSize + 1);

    EXPECT_EQ(RemoveRecorded(RecordPath(), everything), 0);
    EXPECT_TRUE(FileExists(install / "keep.txt"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The setup information file is invalid.");
}

TEST_F(InstallRecordTest, RegistryKeyAndValueItemsAreDeletedFromTheirParents) {
    const std::string a = std::string(kTestKey) + "\\A";
    SetRegistryValue(a + "\\B", "inner");
    SetRegistryValue(a, "Run");
    dat.RemoveItem(Prefixed(a + "\\B\\"), everything);
    EXPECT_FALSE(RegistryKeyExists(a + "\\B"));
    EXPECT_TRUE(RegistryKeyExists(a));
    dat.RemoveItem(Prefixed(a + "\\Run"), everything);
    EXPECT_FALSE(RegistryValueExists(a, "Run"));
    EXPECT_TRUE(RegistryKeyExists(a));
}

TEST_F(InstallRecordTest, MalformedOrMissingRegistryItemsAreSkipped) {
    const std::string a = std::string(kTestKey) + "\\A";
    SetRegistryValue(a, "Run");
    for (const std::string& item :
         {Prefixed(""), Prefixed("KestrelSetupTests"), Prefixed(a + "\\Missing"),
          Prefixed("Software\\NoSuchKestrelKey\\B\\"), std::string()})
        dat.RemoveItem(item, everything);
    EXPECT_TRUE(RegistryValueExists(a, "Run"));
}

TEST_F(InstallRecordTest, PrefixInOtherCaseNamesAFile) {
    WriteFileBytes(install / "%reg_current_user%x.txt", "x");
    dat.RemoveItem(install / "%reg_current_user%x.txt", everything);
    EXPECT_FALSE(FileExists(install / "%reg_current_user%x.txt"));
}

TEST_F(InstallRecordTest, BareFileItemIsRemovedFromTheRecordedInstallDirectory) {
    WriteFileBytes(install / "URL.txt", "x");
    ASSERT_TRUE(AddItem(dat, "URL.txt"));
    ASSERT_EQ(Shown(dat.WriteInstallRecord("SetupInfo.dat")), 1);
    // The remover starts with no install directory of its own.
    EXPECT_EQ(RemoveRecorded(RecordPath(), everything), 1);
    EXPECT_FALSE(FileExists(install / "URL.txt"));
    EXPECT_FALSE(FileExists(RecordPath()));
}

TEST_F(InstallRecordTest, RemovalFollowsRecordedOrderSoDirectoriesEmptyFirst) {
    ::CreateDirectoryA((install / "sub").c_str(), nullptr);
    WriteFileBytes(install / "sub\\a.txt", "a");
    AddItem(dat, install / "sub\\a.txt");
    AddItem(dat, install / "sub\\");
    ASSERT_EQ(Shown(dat.WriteInstallRecord("SetupInfo.dat")), 1);
    EXPECT_EQ(RemoveRecorded(RecordPath(), everything), 1);
    EXPECT_FALSE(DirectoryExists(install / "sub"));
    EXPECT_FALSE(FileExists(RecordPath()));
}

TEST_F(InstallRecordTest, BusyDirectoryAndFileAreLeftForTheRestart) {
    ::CreateDirectoryA((install / "full").c_str(), nullptr);
    WriteFileBytes(install / "full\\stays.txt", "x");
    WriteFileBytes(install / "busy.txt", "x");
    HANDLE held = ::CreateFileA((install / "busy.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    dat.RemoveItem(install / "full\\", everything);
    dat.RemoveItem(install / "busy.txt", everything);
    ::CloseHandle(held);
    EXPECT_TRUE(FileExists(install / "full\\stays.txt"));
    EXPECT_TRUE(FileExists(install / "busy.txt"));
    std::string pending = PendingRestartDeletions();
    EXPECT_NE(pending.find(install / "full|"), std::string::npos) << pending;
    EXPECT_NE(pending.find(install / "busy.txt|"), std::string::npos) << pending;
}

TEST(CRegKeyHolder, KeepsItsKeyWhenAnOpenFailsAndClosesOnce) {
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
