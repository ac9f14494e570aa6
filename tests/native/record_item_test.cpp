#include "record_item.h"

#include <gtest/gtest.h>

using namespace setupcore;

TEST(ClassifyItem, RegistryKeysAndValues) {
    RecordItem key = ClassifyItem("%REG_CURRENT_USER%Software\\A\\B\\", NoLeadBytes);
    EXPECT_EQ(key.kind, ItemKind::RegistryKey);
    EXPECT_EQ(key.parentKey, "Software\\A\\");
    EXPECT_EQ(key.name, "B");
    RecordItem value = ClassifyItem("%REG_CURRENT_USER%Software\\A\\B", NoLeadBytes);
    EXPECT_EQ(value.kind, ItemKind::RegistryValue);
    EXPECT_EQ(value.parentKey, "Software\\A\\");
    EXPECT_EQ(value.name, "B");
}

TEST(ClassifyItem, RegistryItemsWithoutAParentAreSkipped) {
    for (const char* text : {"%REG_CURRENT_USER%", "%REG_CURRENT_USER%Software",
                             "%REG_CURRENT_USER%Software\\", "%REG_CURRENT_USER%\\"})
        EXPECT_EQ(ClassifyItem(text, NoLeadBytes).kind, ItemKind::RegistryMalformed) << text;
    std::string longName = "%REG_CURRENT_USER%Software\\" + std::string(256, 'v');
    EXPECT_EQ(ClassifyItem(longName, NoLeadBytes).kind, ItemKind::RegistryMalformed);
}

TEST(ClassifyItem, FilesAndDirectories) {
    EXPECT_EQ(ClassifyItem("%reg_current_user%Software\\A", NoLeadBytes).kind,
              ItemKind::FullPathFile);
    RecordItem directory = ClassifyItem("C:\\App\\sub\\", NoLeadBytes);
    EXPECT_EQ(directory.kind, ItemKind::Directory);
    EXPECT_EQ(directory.path, "C:\\App\\sub");
    EXPECT_EQ(ClassifyItem("URL.txt", NoLeadBytes).kind, ItemKind::BareFile);
    EXPECT_EQ(ClassifyItem("", NoLeadBytes).kind, ItemKind::Empty);
    EXPECT_EQ(ClassifyItem("\\", NoLeadBytes).kind, ItemKind::Empty);
}

// Every item the installation makes is stored as the text the uninstaller
// has always read, and classifies back into the same item.
TEST(EncodeItem, EveryMadeItemHasItsStoredTextAndReadsBack) {
    const char* const uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const struct {
        const char* name;
        RecordItem item;
        std::string text;
    } rows[] = {
        {"file", RecordItem::ForPath("C:\\App\\URL.txt", NoLeadBytes), "C:\\App\\URL.txt"},
        {"directory", RecordItem::ForPath("C:\\Group\\", NoLeadBytes), "C:\\Group\\"},
        {"uninstall key", RecordItem::ForRegistryKey(uninstallKey, "Notes"),
         std::string("%REG_CURRENT_USER%") + uninstallKey + "Notes\\"},
        {"uninstall value",
         RecordItem::ForRegistryValue(std::string(uninstallKey) + "Notes\\", "DisplayName"),
         std::string("%REG_CURRENT_USER%") + uninstallKey + "Notes\\DisplayName"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EncodeItem(row.item), row.text);
        const RecordItem back = ClassifyItem(row.text, NoLeadBytes);
        EXPECT_EQ(back.kind, row.item.kind);
        EXPECT_EQ(back.parentKey, row.item.parentKey);
        EXPECT_EQ(back.name, row.item.name);
        EXPECT_EQ(back.path, row.item.path);
    }
    EXPECT_EQ(RecordFileName("Setup"), "SetupInfo.dat");
}
