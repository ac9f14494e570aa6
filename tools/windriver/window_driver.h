// Drives another process's windows the way a user would: starts a program,
// finds the windows it shows, reads message boxes and presses their buttons,
// and waits for the program to end. Used by the system tests of Setup.exe.
#pragma once

#include "unique_handle.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace windowdriver {

// How often the driver looks at the windows of a running program, and how long
// it waits for a program before it gives up and ends it.
constexpr DWORD kPollMilliseconds = 50;
constexpr DWORD kDefaultTimeoutMilliseconds = 30000;

// How many times longer than under Wine alone programs take on this host: the
// scripts set SETUP_TIME_FACTOR where 32-bit programs run through an emulator
// (tests/wine/ia32-ns.sh), else it is 1. Every wait below that allows a
// program some time is stretched by it (a poll through Process::WaitForExit
// then polls less often), and so should be the callers' own: through Allowing.
DWORD TimeFactor();
// `milliseconds` stretched by TimeFactor().
DWORD Allowing(DWORD milliseconds);

// Text of another process's windows crosses as wide text: these convert it
// from and to the ANSI code page.
std::string ToAnsi(const std::wstring& wide);
std::wstring ToWide(const std::string& ansi);

// A program started by the driver. Ending the object ends the program if it
// still runs, and waits until it is gone, so its files may be removed afterwards.
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // Starts `program` with the full command line `commandLine` (argv[0]
    // included, quoted as the caller wishes) in `workingDirectory` (empty: the
    // driver's own). On failure returns false and describes why in `error`.
    bool Start(const std::string& program, const std::string& commandLine,
               const std::string& workingDirectory, std::string& error);

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }

    bool HasExited() const;
    // Waits up to `milliseconds`; true once the program has ended.
    bool WaitForExit(DWORD milliseconds) const;
    // The exit code of an ended program; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Ends the program at once (if it runs) and waits until it is gone.
    void Kill();

private:
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// The visible top-level windows that belong to the process `processId`, in
// the order in which the system lists them (topmost first).
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);

std::string ClassName(HWND window);
// The text of a window of any process (WM_GETTEXT in wide characters),
// converted to the ANSI code page.
std::string WindowText(HWND window);

// A message box: a dialog of class "#32770" with its text in the static
// control 0xFFFF.
constexpr int kMessageBoxTextId = 0xFFFF;
bool IsMessageBox(HWND window);

struct MessageBoxContent {
    std::string caption;
    std::string text;
};
bool operator==(const MessageBoxContent& a, const MessageBoxContent& b);
bool operator!=(const MessageBoxContent& a, const MessageBoxContent& b);
// Caption and text on one line, line breaks shown as "\n".
std::ostream& operator<<(std::ostream& out, const MessageBoxContent& box);

// Reads the caption and text of a message box; false if `window` is not one
// (or went away meanwhile).
bool ReadMessageBox(HWND window, MessageBoxContent& content);

// The id of the dialog's default button: the one the dialog names, else the
// one styled as default, else IDOK if present, else its first button; 0 if it
// has no button at all.
int DefaultButtonId(HWND dialog);
// Presses the button `buttonId` of `dialog` as a click would (BN_CLICKED
// posted to the dialog). False if the dialog has no such enabled button.
bool PressButton(HWND dialog, int buttonId);
// Waits up to `milliseconds` until `window` is destroyed or hidden.
bool WaitUntilGone(HWND window, DWORD milliseconds);
// Waits up to `milliseconds` for a visible top-level window of the process
// whose caption is `caption`; null when none came.
HWND WaitForWindow(DWORD processId, const std::string& caption,
                   DWORD milliseconds = kDefaultTimeoutMilliseconds);

// What a program did when run to its end with every message box answered.
struct RunResult {
    bool started = false;
    bool exited = false;                   // ended by itself within the time allowed
    bool timedOut = false;                 // still running after the time allowed: ended by force
    DWORD exitCode = 0;                    // valid when `exited`
    std::vector<MessageBoxContent> boxes;  // every box seen, in the order shown
    bool otherWindowSeen = false;          // a visible window that is no message box
    std::vector<std::string> otherWindows; // "class \"caption\"" of each such window
    std::string error; // what went wrong, in words; empty when the run was clean

    // A one-line-per-item account of the run, for failure messages.
    std::string Describe() const;
};

struct RunOptions {
    DWORD timeoutMilliseconds = kDefaultTimeoutMilliseconds;
    // A window that is no message box would wait for an answer that never
    // comes: end the program at once instead of waiting for the timeout.
    bool stopAtOtherWindow = true;
};

// Starts the program (see Process::Start) and runs it to its end, answering
// every message box with its default button as soon as it is visible. The
// program has always ended when this returns.
RunResult RunAnsweringMessageBoxes(const std::string& program, const std::string& commandLine,
                                   const std::string& workingDirectory,
                                   const RunOptions& options = RunOptions());

} // namespace windowdriver
