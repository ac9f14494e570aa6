// The application object: decides from the command line whether this run
// installs or uninstalls, with or without a user, and drives the run.
#pragma once

#include "setup_command_line.h"
#include "setup_context.h"
#include "win_app.h"

#include <string>

class InstallLog;

class CSetupApp : public CWinApp {
public:
    BOOL InitInstance() override;

    // The two halves of an uninstallation; each returns the exit code.
    int HandOffUninstall();
    int RemoveInstallation(const std::string& installedProgram);
    // The same without a user: the first waits for the second and ends with its code.
    int HandOffUninstallSilently(const std::string& logFile, InstallLog& log);
    int RemoveInstallationSilently(const std::string& installedProgram, InstallLog& log);

    // What InitInstance chose from the command line.
    using RunMode = setupcore::RunMode;
    static RunMode ChooseRunMode(int argc, char** argv);
    // `rawCommandLine`, the line `argv` was cut from, joins an unquoted
    // trailing /D= again.
    static setupcore::SetupCommandLine ParseCommandLine(int argc, char** argv,
                                                        const std::string& rawCommandLine = {});

    // The program's path, its record's name and the package, for this run.
    SetupContext m_context;

private:
    // Reads Setup.dat beside the program, telling the user when it cannot;
    // kExitDone, or the exit code of the failure.
    int ReadPackage();
    // Run, ending with the out-of-memory message should memory run out.
    int RunToExitCode(const setupcore::SetupCommandLine& commandLine, const std::string& logFile,
                      InstallLog* log);
    // The run the command line chose; returns the exit code.
    int Run(const setupcore::SetupCommandLine& commandLine, const std::string& logFile,
            InstallLog* log);
};

extern CSetupApp theApp;

// The longest program path the setup program accepts (the buffer of the
// original design held 1023 characters and a NUL).
constexpr size_t kMaxSetupPath = 1023;
