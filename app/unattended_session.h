// The frame of a run without a user: its log is open from the first line to
// the exit code, and every message box the run would show is written there
// instead and answered as declining would answer it.
#pragma once

#include "install_log_file.h"
#include "user_interface.h"

#include <string>

class UnattendedSession : public CUserInterface {
public:
    // Opens (or goes on with) the log at `logFile` and writes the command line.
    explicit UnattendedSession(const std::string& logFile);
    ~UnattendedSession() override;
    UnattendedSession(const UnattendedSession&) = delete;
    UnattendedSession& operator=(const UnattendedSession&) = delete;

    InstallLog& Log() { return log_; }
    // False when the log could be neither made nor opened: it has no lines.
    bool LogOpened() const { return logOpened_; }
    // The run's last line.
    void End(int exitCode);

    std::optional<int> InterceptMessageBox(const std::string& text, UINT type) override;
    std::optional<INT_PTR> InterceptModal(UINT templateId) override;

private:
    InstallLogFile log_;
    bool logOpened_ = false;
    CUserInterface& previous_;
};
