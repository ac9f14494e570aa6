#include "unattended_session.h"

#include "crash_moments.h"

#include <windows.h>

UnattendedSession::UnattendedSession(const std::string& logFile) : previous_(UserInterface()) {
    logOpened_ = log_.Open(logFile); // whether the run may go on without it, the caller decides
    log_.Line(std::string("Command line: ") + ::GetCommandLineA());
    SetUserInterface(this);
}

UnattendedSession::~UnattendedSession() {
    SetUserInterface(&previous_);
}

void UnattendedSession::End(int exitCode) {
    // For a test that ends the program at one of its moments: how many there were.
    if (MomentsAreWatched())
        log_.Line("Moments passed: " + std::to_string(MomentsPassed()));
    log_.Line("Exit code " + std::to_string(exitCode));
}

std::optional<int> UnattendedSession::InterceptMessageBox(const std::string& text, UINT type) {
    // The message's own line breaks become blanks: one entry, one line.
    std::string oneLine = text;
    for (char& ch : oneLine)
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    log_.Line("Message: " + oneLine);
    // The answer that lets nothing go on that a user was to allow.
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

std::optional<INT_PTR> UnattendedSession::InterceptModal(UINT templateId) {
    log_.Line("Dialog " + std::to_string(templateId) + " not shown: nobody to answer it");
    return IDCANCEL;
}
