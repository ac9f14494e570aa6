// A package manager's round trip over the sample's installer manifest
// (sample/manifest): the command lines composed from its fields exactly as
// such a tool composes them, then an installation, an upgrade to version 2
// and the removal through the entry, with the exit codes and the entry's
// values a package manager reads.
#include "installer_fixture.h"
#include "package_identity.h"
#include "package_index.h"
#include "packaged_file.h"
#include "test_files.h"

#include <sstream>

namespace {

using namespace installertest;
using windowdriver::RunResult;

std::string Trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(" \r") + 1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// The values of `key` in the manifest, in order (a key of the top level and
// of an installer of its own both count).
std::vector<std::string> Fields(const std::string& manifest, const std::string& key) {
    std::vector<std::string> values;
    std::istringstream lines(manifest);
    for (std::string line; std::getline(lines, line);) {
        std::string content = Trimmed(line);
        if (content.rfind("- ", 0) == 0)
            content = content.substr(2);
        if (content.rfind(key + ":", 0) == 0)
            values.push_back(Trimmed(content.substr(key.size() + 1)));
    }
    return values;
}

std::string Replaced(std::string text, const std::string& token, const std::string& value) {
    const size_t at = text.find(token);
    return at == std::string::npos ? text : text.replace(at, token.size(), value);
}

class PackageManager : public Installer {
protected:
    void SetUp() override {
        Installer::SetUp();
        manifest_ = ReadFileBytes(SAMPLE_MANIFEST);
        ASSERT_FALSE(manifest_.empty()) << SAMPLE_MANIFEST;
        install_ = programFiles_ + "\\Kestrel Notes Managed";
    }
    void WriteVersion(const std::string& version) {
        const std::string recorder = ReadFileBytes(OwnDirectory() + "\\launch_recorder.exe");
        setupcore::PackageIndex index;
        index.appExe = "App.exe";
        index.folderName = kFolderName;
        index.files = {{"App.exe", 1}, {"docs\\readme.txt", 1}, {"Setup.exe", 0}, {"zlib1.dll", 0}};
        WriteFileBytes(setup_ / "App.exe", setupcore::PackBytes(recorder));
        WriteFileBytes(setup_ / "readme.txt", setupcore::PackBytes("version " + version));
        WriteFileBytes(setup_ / "Setup.dat",
                       setupcore::EncodePackageIndex(index) +
                           setupcore::EncodePackageIdentity({version, "Kestrel Software"}));
        ASSERT_TRUE(CopySetupProgram(setup_.Path(), "Setup.exe"));
    }
    // As the tool does: the installer, the silent switch, the custom
    // switches, the log and, for an installation, the location, last and
    // unquoted as the manifest writes it.
    std::string InstallCommand(bool upgrade) const {
        std::string command = CommandLine(Fields(manifest_, "Silent").at(0));
        command += " " + Fields(manifest_, "Custom").at(0);
        command += " " + Replaced(Fields(manifest_, "Log").at(0), "<LOGPATH>", log_);
        if (upgrade)
            return command + (Fields(manifest_, "Upgrade").at(0).empty()
                                  ? ""
                                  : " " + Fields(manifest_, "Upgrade").at(0));
        return command + " " +
               Replaced(Fields(manifest_, "InstallLocation").at(0), "<INSTALLPATH>", install_);
    }
    RunResult Run(const std::string& command) {
        return windowdriver::RunAnsweringMessageBoxes(setup_ / "Setup.exe", command, setup_.Path());
    }
    void ExpectEntry(const std::string& version) {
        SCOPED_TRACE("version " + version);
        EXPECT_EQ(RegistryString(kUninstallKey, "DisplayName"), "Kestrel Test 2");
        EXPECT_EQ(RegistryString(kUninstallKey, "DisplayVersion"), version);
        EXPECT_EQ(RegistryString(kUninstallKey, "Publisher"), "Kestrel Software");
        EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), install_);
        EXPECT_EQ(RegistryString(kUninstallKey, "QuietUninstallString"),
                  "\"" + install_ + "\\Setup.exe\" /UNINSTALL /S");
        EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), "version " + version);
    }

    std::string manifest_;
    const std::string log_ = setup_ / "package manager.log";
};

TEST_F(PackageManager, InstallsUpgradesAndUninstallsThroughTheManifestsCommandLines) {
    const MachineSnapshot before = SnapshotBeforeInstalling();
    WriteVersion("1.0");
    const RunResult install = Run(InstallCommand(false));
    ASSERT_EQ(install.exitCode, 0u) << install.Describe() << ReadFileBytes(log_);
    EXPECT_TRUE(install.boxes.empty());
    ExpectEntry("1.0");

    WriteVersion("2.0");
    const RunResult upgrade = Run(InstallCommand(true));
    ASSERT_EQ(upgrade.exitCode, 0u) << upgrade.Describe() << ReadFileBytes(log_);
    ExpectEntry("2.0");

    const RunResult removal = RunQuietUninstall(install_);
    EXPECT_EQ(removal.exitCode, 0u) << removal.Describe();
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

TEST_F(PackageManager, TheManifestNamesEveryExitCodeButSuccessAndTheUserScope) {
    const std::vector<std::string> listed = Fields(manifest_, "InstallerReturnCode");
    for (const char* code : {"1", "2", "3", "4", "5", "6", "7", "8", "87", "3010"}) {
        SCOPED_TRACE(code);
        EXPECT_NE(std::find(listed.begin(), listed.end(), code), listed.end());
    }
    EXPECT_EQ(Fields(manifest_, "Scope"), (std::vector<std::string>{"machine", "user"}));
    EXPECT_EQ(Fields(manifest_, "Custom").at(1), "/NORESTART /CURRENTUSER");
}

} // namespace
