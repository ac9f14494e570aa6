#include "setup_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using setupcore::ParseSetupCommandLine;
using setupcore::RunMode;
using setupcore::SetupCommandLine;

namespace {

struct ModeRow {
    const char* name;
    std::vector<std::string> arguments; // after the program's own path
    RunMode mode;
    const char* installedProgram;
};

// Every form the program has always handled keeps its run; only "/S" and
// "/SP", and "/S" after the uninstall switch, are new.
const ModeRow kModes[] = {
    {"no argument", {}, RunMode::Install, ""},
    {"empty first argument", {""}, RunMode::Install, ""},
    {"unknown first argument", {"/install"}, RunMode::Install, ""},
    {"switch with a letter too many", {"/uninstallx"}, RunMode::Install, ""},
    {"bare word without its first character", {"uninstall"}, RunMode::Install, ""},
    {"unknown switches after an unknown first", {"/other", "a", "b", "c"}, RunMode::Install, ""},
    {"silent switch of another installer", {"/VERYSILENT"}, RunMode::Install, ""},
    {"directory alone presets the wizard", {"/D=C:\\X"}, RunMode::Install, ""},
    {"uninstall, slash", {"/uninstall"}, RunMode::HandOffUninstall, ""},
    {"uninstall, dash, capitals", {"-UNINSTALL"}, RunMode::HandOffUninstall, ""},
    {"uninstall, any first character", {"xUnInStAlL"}, RunMode::HandOffUninstall, ""},
    {"removal role",
     {"/UNINSTALL", "C:\\App\\Setup.exe"},
     RunMode::RemoveInstallation,
     "C:\\App\\Setup.exe"},
    {"removal role of a program called /s.exe",
     {"/UNINSTALL", "/s.exe"},
     RunMode::RemoveInstallation,
     "/s.exe"},
    {"removal role of a program called -S",
     {"/UNINSTALL", "-S"},
     RunMode::RemoveInstallation,
     "-S"},
    {"two more arguments", {"/uninstall", "a", "b"}, RunMode::Nothing, ""},
    {"three more arguments", {"/uninstall", "a", "b", "c"}, RunMode::Nothing, ""},
    {"silent hand-off", {"/UNINSTALL", "/S"}, RunMode::SilentHandOffUninstall, ""},
    {"silent hand-off, small s", {"-uninstall", "/s"}, RunMode::SilentHandOffUninstall, ""},
    {"silent hand-off with a log",
     {"/UNINSTALL", "/S", "/LOG=C:\\u.log"},
     RunMode::SilentHandOffUninstall,
     ""},
    {"silent hand-off, log first",
     {"/UNINSTALL", "/LOG=C:\\u.log", "/S"},
     RunMode::SilentHandOffUninstall,
     ""},
    {"hand-off with a log but no /S",
     {"/UNINSTALL", "/LOG=C:\\u.log"},
     RunMode::HandOffUninstall,
     ""},
    {"silent hand-off with something else", {"/UNINSTALL", "/S", "x"}, RunMode::BadCommandLine, ""},
    {"silent hand-off with an empty log",
     {"/UNINSTALL", "/S", "/LOG="},
     RunMode::BadCommandLine,
     ""},
    {"silent removal",
     {"/UNINSTALL", "C:\\A\\Setup.exe", "/S"},
     RunMode::SilentRemoveInstallation,
     "C:\\A\\Setup.exe"},
    {"silent removal with a log",
     {"/UNINSTALL", "C:\\A\\Setup.exe", "/s", "/LOG=C:\\u.log"},
     RunMode::SilentRemoveInstallation,
     "C:\\A\\Setup.exe"},
    {"silent removal, log before /S",
     {"/UNINSTALL", "C:\\A\\Setup.exe", "/LOG=C:\\u.log", "/S"},
     RunMode::SilentRemoveInstallation,
     "C:\\A\\Setup.exe"},
    {"removal with a log but no /S",
     {"/UNINSTALL", "C:\\A", "/LOG=C:\\u.log"},
     RunMode::Nothing,
     ""},
    {"silent removal with a fourth argument that is no log",
     {"/UNINSTALL", "C:\\A", "/S", "b"},
     RunMode::BadCommandLine,
     ""},
    {"silent removal with /S last of four",
     {"/UNINSTALL", "C:\\A", "b", "/S"},
     RunMode::BadCommandLine,
     ""},
    {"silent install", {"/S"}, RunMode::SilentInstall, ""},
    {"silent install, small s", {"/s"}, RunMode::SilentInstall, ""},
    {"silent install, /S not first", {"/D=C:\\X", "/S"}, RunMode::SilentInstall, ""},
    {"progress install", {"/SP"}, RunMode::ProgressInstall, ""},
    {"progress install, small letters", {"/sp", "/nodesktop"}, RunMode::ProgressInstall, ""},
    {"silent with an unknown switch", {"/S", "/FAST"}, RunMode::BadCommandLine, ""},
    {"silent with an unknown first argument", {"/other", "/S"}, RunMode::BadCommandLine, ""},
    {"silent and progress at once", {"/S", "/SP"}, RunMode::BadCommandLine, ""},
    {"silent with a relative directory", {"/S", "/D=App"}, RunMode::BadCommandLine, ""},
    {"silent with an empty directory", {"/S", "/D="}, RunMode::BadCommandLine, ""},
    {"silent with an empty group", {"/S", "/GROUP="}, RunMode::BadCommandLine, ""},
    {"silent with an empty log", {"/S", "/LOG="}, RunMode::BadCommandLine, ""},
};

} // namespace

TEST(SetupCommandLine, ChoosesTheRunOfEveryForm) {
    for (const ModeRow& row : kModes) {
        SCOPED_TRACE(row.name);
        const SetupCommandLine line = ParseSetupCommandLine(row.arguments);
        EXPECT_EQ(line.mode, row.mode);
        EXPECT_EQ(line.installedProgram, row.installedProgram);
    }
}

namespace {

// An installation's options on one line, so that a row compares whole.
std::string Options(const SetupCommandLine& line) {
    const setupcore::InstallChoices& o = line.install;
    const setupcore::StatedChoices& s = line.stated;
    const auto flag = [](bool on) { return on ? "1" : "0"; };
    // A choice the line stated is marked with '!': an update keeps the others.
    const auto stated = [](bool on) { return on ? "!" : ""; };
    return "dir=" + o.installDir + stated(s.installDir) + " group=" + o.groupName +
           stated(s.groupName) + " desktop=" + flag(o.desktopShortcut) + stated(s.desktopShortcut) +
           " quicklaunch=" + flag(o.quickLaunchShortcut) + stated(s.quickLaunchShortcut) +
           " autostart=" + flag(o.autoStart) + stated(s.autoStart) +
           " launch=" + flag(o.launchProgram) + (o.perUser ? " user" : "") + stated(s.perUser) +
           " log=" + line.logFile;
}

} // namespace

TEST(SetupCommandLine, SilentInstallTakesTheWizardsDefaultsOrEveryOptionInAnyCase) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        RunMode mode;
        const char* options;
    };
    const Row rows[] = {
        {"no option: the wizard's defaults, but no launch",
         {"/S"},
         RunMode::SilentInstall,
         "dir= group= desktop=1 quicklaunch=1 autostart=0 launch=0 log="},
        {"every option, letters in any case",
         {"/nodesktop", "/d=C:\\My Dir", "/Group=My Group", "/NoQuickLaunch", "/autostart",
          "/Launch", "/log=C:\\Logs\\run.log", "/S"},
         RunMode::SilentInstall,
         "dir=C:\\My Dir! group=My Group! desktop=0! quicklaunch=0! autostart=1! launch=1 "
         "log=C:\\Logs\\run.log"},
        {"progress window with one option",
         {"/SP", "/AUTOSTART"},
         RunMode::ProgressInstall,
         "dir= group= desktop=1 quicklaunch=1 autostart=1! launch=0 log="},
        {"every choice turned the other way",
         {"/S", "/DESKTOP", "/quicklaunch", "/NOAUTOSTART"},
         RunMode::SilentInstall,
         "dir= group= desktop=1! quicklaunch=1! autostart=0! launch=0 log="},
        {"for the current user alone",
         {"/S", "/CURRENTUSER"},
         RunMode::SilentInstall,
         "dir= group= desktop=1 quicklaunch=1 autostart=0 launch=0 user! log="},
        {"for all users, said so",
         {"/SP", "/ALLUSERS"},
         RunMode::ProgressInstall,
         "dir= group= desktop=1 quicklaunch=1 autostart=0 launch=0! log="},
        {"the last word on a choice wins",
         {"/S", "/AUTOSTART", "/NOAUTOSTART", "/NODESKTOP", "/DESKTOP"},
         RunMode::SilentInstall,
         "dir= group= desktop=1! quicklaunch=1 autostart=0! launch=0 log="},
    };
    for (const Row& row : rows) {
        const SetupCommandLine line = ParseSetupCommandLine(row.arguments);
        EXPECT_EQ(line.mode, row.mode) << row.name;
        EXPECT_EQ(Options(line), row.options) << row.name;
    }
}

TEST(SetupCommandLine, DirectoryReadsTheSameHoweverItWasQuoted) {
    // What the C runtime hands over for "/D=C:\My Dir", /D="C:\My Dir" and
    // /D="C:\My Dir\" (whose backslash-quote becomes a quote).
    struct Row {
        const char* name;
        std::string argument;
        const char* directory;
    };
    const Row rows[] = {
        {"quoted as a whole", "/D=C:\\My Dir", "C:\\My Dir"},
        {"value quoted", "/D=C:\\My Dir", "C:\\My Dir"},
        {"value quoted, ending in a backslash", "/D=C:\\My Dir\\\"", "C:\\My Dir\\"},
        {"share", "/D=\\\\server\\share\\App", "\\\\server\\share\\App"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* mode : {"/S", "/SP"}) {
            const SetupCommandLine line = ParseSetupCommandLine({mode, row.argument});
            EXPECT_NE(line.mode, RunMode::BadCommandLine) << mode;
            EXPECT_EQ(line.install.installDir, row.directory) << mode;
        }
        EXPECT_EQ(ParseSetupCommandLine({row.argument}).install.installDir, row.directory)
            << "wizard preset";
    }
}

TEST(SetupCommandLine, WizardTakesOnlyTheDirectoryGroupAndScopeAsPresets) {
    const SetupCommandLine line = ParseSetupCommandLine(
        {"/GROUP=Tools", "/NODESKTOP", "/LOG=x", "/CURRENTUSER", "/D=D:\\Apps\\K"});
    EXPECT_EQ(line.mode, RunMode::Install);
    EXPECT_EQ(line.install.installDir, "D:\\Apps\\K");
    EXPECT_EQ(line.install.groupName, "Tools");
    EXPECT_TRUE(line.install.desktopShortcut) << "the page's box decides";
    EXPECT_TRUE(line.install.perUser);
    EXPECT_EQ(line.logFile, "");
}

TEST(SetupCommandLine, RefusedArgumentIsNamed) {
    EXPECT_EQ(ParseSetupCommandLine({"/S", "/NODESKTOP", "/FAST"}).refused, "/FAST");
    EXPECT_EQ(ParseSetupCommandLine({"/S", "/D=App"}).refused, "/D=App");
    EXPECT_EQ(ParseSetupCommandLine({"/S", "/FAST", "/LOG=C:\\l.log"}).logFile, "C:\\l.log")
        << "the refusal goes to the log asked for";
}

TEST(SetupCommandLine, SilentRemovalSuffixReadsBackAsTheSilentRemoval) {
    // The temporary copy is started with "<copy>" /UNINSTALL "<program>" and
    // the suffix; split as the C runtime splits it, it is the silent removal.
    EXPECT_EQ(setupcore::SilentRemovalSuffix("C:\\T\\Setup.log"), " /S \"/LOG=C:\\T\\Setup.log\"");
    EXPECT_EQ(setupcore::SilentRemovalSuffix(""), " /S") << "no empty /LOG=, which is refused";
    const SetupCommandLine line = ParseSetupCommandLine(
        {"/UNINSTALL", "C:\\Program Files\\K\\Setup.exe", "/S", "/LOG=C:\\T\\Setup.log"});
    EXPECT_EQ(line.mode, RunMode::SilentRemoveInstallation);
    EXPECT_EQ(line.installedProgram, "C:\\Program Files\\K\\Setup.exe");
    EXPECT_EQ(line.logFile, "C:\\T\\Setup.log");
}

TEST(SetupCommandLine, UnquotedDirectoryLastTakesTheRestOfTheLine) {
    // Each row: the raw line, and the arguments the C runtime cut from it.
    struct Row {
        const char* name;
        std::string raw;
        std::vector<std::string> arguments;
        RunMode mode;
        const char* directory;
        const char* refused;
    };
    const std::string program = "\"C:\\Setup\\Setup.exe\" ";
    const Row rows[] = {
        {"silent, unquoted last with blanks",
         program + "/S /D=C:\\Program Files\\Kestrel Notes",
         {"/S", "/D=C:\\Program", "Files\\Kestrel", "Notes"},
         RunMode::SilentInstall,
         "C:\\Program Files\\Kestrel Notes",
         ""},
        {"progress, blanks kept as written, trailing ones dropped",
         program + "/SP /NORESTART /d=C:\\My  Apps\\K 2  ",
         {"/SP", "/NORESTART", "/d=C:\\My", "Apps\\K", "2"},
         RunMode::ProgressInstall,
         "C:\\My  Apps\\K 2",
         ""},
        {"wizard preset, unquoted last with blanks",
         program + "/GROUP=Tools /D=D:\\Program Files\\K",
         {"/GROUP=Tools", "/D=D:\\Program", "Files\\K"},
         RunMode::Install,
         "D:\\Program Files\\K",
         ""},
        {"quoted as a whole",
         program + "/S \"/D=C:\\Program Files\\K\"",
         {"/S", "/D=C:\\Program Files\\K"},
         RunMode::SilentInstall,
         "C:\\Program Files\\K",
         ""},
        {"value quoted",
         program + "/S /D=\"C:\\Program Files\\K\"",
         {"/S", "/D=C:\\Program Files\\K"},
         RunMode::SilentInstall,
         "C:\\Program Files\\K",
         ""},
        {"quoted, then an unquoted word: still the runtime's arguments",
         program + "/S \"/D=C:\\Program Files\\K\" extra",
         {"/S", "/D=C:\\Program Files\\K", "extra"},
         RunMode::BadCommandLine,
         "",
         "extra"},
        {"not last: an option after it ends the directory",
         program + "/D=C:\\Program Files\\K /S",
         {"/D=C:\\Program", "Files\\K", "/S"},
         RunMode::BadCommandLine,
         "",
         "Files\\K"},
        {"not last, without blanks: as ever",
         program + "/D=C:\\Apps\\K /S /NODESKTOP",
         {"/D=C:\\Apps\\K", "/S", "/NODESKTOP"},
         RunMode::SilentInstall,
         "C:\\Apps\\K",
         ""},
        {"glued to a quoted argument: no word of its own",
         program + "/S \"/GROUP=G\"/D=C:\\A B",
         {"/S", "/GROUP=G/D=C:\\A", "B"},
         RunMode::BadCommandLine,
         "",
         "B"},
        {"arguments that are not the raw line's words are left alone",
         program + "/S /D=C:\\A B",
         {"/S", "/D=C:\\A"},
         RunMode::SilentInstall,
         "C:\\A",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SetupCommandLine line = ParseSetupCommandLine(row.arguments, row.raw);
        EXPECT_EQ(line.mode, row.mode);
        EXPECT_EQ(line.install.installDir, row.directory);
        EXPECT_EQ(line.refused, row.refused);
    }
}

TEST(SetupCommandLine, NoRestartIsAcceptedInEveryMode) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        RunMode mode;
        const char* installedProgram;
    };
    const Row rows[] = {
        {"silent install", {"/NORESTART", "/S"}, RunMode::SilentInstall, ""},
        {"progress install", {"/SP", "/norestart"}, RunMode::ProgressInstall, ""},
        {"wizard", {"/NORESTART"}, RunMode::Install, ""},
        {"interactive hand-off", {"/UNINSTALL", "/NORESTART"}, RunMode::HandOffUninstall, ""},
        {"silent hand-off",
         {"/UNINSTALL", "/S", "/NORESTART"},
         RunMode::SilentHandOffUninstall,
         ""},
        {"silent hand-off, /NORESTART first",
         {"/UNINSTALL", "/NORESTART", "/LOG=C:\\u.log", "/S"},
         RunMode::SilentHandOffUninstall,
         ""},
        {"removal role",
         {"/UNINSTALL", "C:\\A\\Setup.exe", "/NORESTART"},
         RunMode::RemoveInstallation,
         "C:\\A\\Setup.exe"},
        {"silent removal role",
         {"/UNINSTALL", "C:\\A\\Setup.exe", "/S", "/NORESTART", "/LOG=C:\\u.log"},
         RunMode::SilentRemoveInstallation,
         "C:\\A\\Setup.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SetupCommandLine line = ParseSetupCommandLine(row.arguments);
        EXPECT_EQ(line.mode, row.mode);
        EXPECT_EQ(line.installedProgram, row.installedProgram);
        EXPECT_TRUE(line.noRestart);
    }
}
