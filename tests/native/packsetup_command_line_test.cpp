// packsetup's options: every one taken, help asked for, and each kind of
// usage error named.
#include "packsetup/command_line.h"

#include <gtest/gtest.h>

using namespace packsetup;

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineOptions, TakesEveryOption) {
    CommandLine line;
    std::string error;
    ASSERT_EQ(ParseCommandLine({"--out",
                                "dist",
                                "--app-exe",
                                "K.exe",
                                "--header2=two",
                                "--folder-name",
                                "Kestrel",
                                "--post-install",
                                "Reg.exe",
                                "--obsolete",
                                "a.dll",
                                "--obsolete=b.dll",
                                "--plain",
                                "--plain-ext",
                                "zip",
                                "--plain-ext=.CAB",
                                "--license",
                                "l.txt",
                                "--url",
                                "u.txt",
                                "--setup-exe",
                                "s.exe",
                                "--zlib",
                                "z.dll",
                                "--codepage",
                                "932",
                                "--quiet",
                                "input",
                                "--version",
                                "1.2.3",
                                "--publisher=Kestrel Software"},
                               line, error),
              ParseOutcome::Run)
        << error;
    EXPECT_EQ(line.outDir, "dist");
    EXPECT_EQ(line.appExe, "K.exe");
    EXPECT_EQ(line.header2, "two");
    EXPECT_EQ(line.folderName, "Kestrel");
    EXPECT_EQ(line.postInstall, "Reg.exe");
    EXPECT_EQ(line.obsoleteNames, (Args{"a.dll", "b.dll"}));
    EXPECT_TRUE(line.allPlain);
    EXPECT_EQ(line.plainExtensions, (Args{"zip", ".CAB"}));
    EXPECT_EQ(line.license, "l.txt");
    EXPECT_EQ(line.url, "u.txt");
    EXPECT_EQ(line.setupExe, "s.exe");
    EXPECT_EQ(line.zlib, "z.dll");
    EXPECT_EQ(line.codePage, 932u);
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(line.input, "input");
    EXPECT_EQ(line.version, "1.2.3");
    EXPECT_EQ(line.publisher, "Kestrel Software");
}

TEST(CommandLineOptions, TakesAnInputThatLooksLikeAnOptionAfterTheEndMarker) {
    CommandLine line;
    std::string error;
    ASSERT_EQ(
        ParseCommandLine({"--out=o", "--app-exe=a", "--folder-name=f", "--", "--odd"}, line, error),
        ParseOutcome::Run);
    EXPECT_EQ(line.input, "--odd");
    EXPECT_EQ(line.codePage, 1252u) << "the Western code page unless told";
}

TEST(CommandLineOptions, AsksForHelp) {
    CommandLine line;
    std::string error;
    EXPECT_EQ(ParseCommandLine({"--help"}, line, error), ParseOutcome::Help);
    EXPECT_EQ(ParseCommandLine({"--out", "o", "-h"}, line, error), ParseOutcome::Help);
    for (const char* option :
         {"--out", "--app-exe", "--header2", "--folder-name", "--post-install", "--obsolete",
          "--plain", "--plain-ext", "--license", "--url", "--setup-exe", "--zlib", "--codepage",
          "--version", "--publisher", "--quiet", "--help"})
        EXPECT_NE(std::string(UsageText()).find(option), std::string::npos) << option;
}

TEST(CommandLineOptions, ReportsUsageErrorsNamingTheProblem) {
    struct Case {
        Args args;
        const char* message; // also names the case
    };
    const Args base = {"--out", "o", "--app-exe", "a", "--folder-name", "f"};
    auto with = [&base](const Args& extra) {
        Args args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    for (const Case& c :
         {Case{{"--app-exe", "a", "--folder-name", "f", "in"}, "--out is required"},
          Case{{"--out", "o", "--folder-name", "f", "in"}, "--app-exe is required"},
          Case{{"--out", "o", "--app-exe", "a", "in"}, "--folder-name is required"},
          Case{with({}), "no input"}, Case{with({"in", "more"}), "more than one input"},
          Case{with({"--colour", "in"}), "unknown option --colour"},
          Case{with({"--out", "p", "in"}), "--out is given more than once"},
          Case{with({"--quiet=yes", "in"}), "--quiet takes no value"},
          Case{with({"in", "--license"}), "--license needs a value"},
          Case{with({"--codepage", "cp1252", "in"}), "--codepage takes a code page number"},
          Case{with({"--codepage=", "in"}), "code page number, such as 1252; not \"\""},
          Case{with({"--codepage", "99999999999", "in"}), "not \"99999999999\""},
          Case{with({"--codepage", "932", "--codepage", "936", "in"}),
               "--codepage is given more than once"}}) {
        SCOPED_TRACE(c.message);
        CommandLine line;
        std::string error;
        EXPECT_EQ(ParseCommandLine(c.args, line, error), ParseOutcome::UsageError);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

} // namespace
