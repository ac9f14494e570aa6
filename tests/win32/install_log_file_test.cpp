// The unattended run's log: a plain file of its own, whatever was planted
// under its name, and one line an event whatever the texts hold.
#include "install_log_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(InstallLogFile, CreatesANewFileAndAppendsToAPlainOne) {
    TempDir dir;
    const std::string path = dir / "run.log";
    {
        InstallLogFile log;
        ASSERT_TRUE(log.Open(path));
        log.Line("first");
    }
    InstallLogFile log;
    ASSERT_TRUE(log.Open(path));
    log.Line("second");
    const std::string text = ReadFileBytes(path);
    EXPECT_NE(text.find("first\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("second\r\n"), std::string::npos) << text;
}

TEST(InstallLogFile, WritesNothingThroughALinkOrASecondNameOrIntoADirectory) {
    TempDir dir;
    WriteFileBytes(dir / "victim.bat", "someone's");
    ASSERT_TRUE(
        ::CreateHardLinkA((dir / "hard.log").c_str(), (dir / "victim.bat").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((dir / "folder.log").c_str(), nullptr));
    const struct {
        const char* name;
        std::string path;
        std::string victim;
    } rows[] = {
        {"a link planted under the log's name", "C:\\kestrel-links\\planted.log",
         "C:\\kestrel-links\\outside\\victim.txt"},
        {"a second name of someone's file", dir / "hard.log", dir / "victim.bat"},
        {"a directory", dir / "folder.log", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string before = row.victim.empty() ? "" : ReadFileBytes(row.victim);
        InstallLogFile log;
        EXPECT_FALSE(log.Open(row.path));
        log.Line("echo planted");
        if (!row.victim.empty()) {
            EXPECT_EQ(ReadFileBytes(row.victim), before);
        }
    }
}

TEST(InstallLogFile, ControlCharactersFromOutsideAreEscapedOneEventOneLine) {
    TempDir dir;
    InstallLogFile log;
    ASSERT_TRUE(log.Open(dir / "run.log"));
    log.Line(std::string("Removed C:\\x\r\n2026-01-01 Removed nothing\x1b[2J\x7f\0end", 49));
    const std::string text = ReadFileBytes(dir / "run.log");
    EXPECT_NE(
        text.find("Removed C:\\x\\x0D\\x0A2026-01-01 Removed nothing\\x1B[2J\\x7F\\x00end\r\n"),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line";
}
