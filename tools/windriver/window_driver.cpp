#include "window_driver.h"

#include <cstdlib>
#include <sstream>
#include <utility>

namespace windowdriver {

namespace {

// How long one message to another process's window may take before the
// driver treats that window as hung.
constexpr UINT kMessageTimeoutMilliseconds = 2000;

// The button-type bits of a button's style.
constexpr LONG kButtonTypeMask = 0x0F;

std::string LastErrorText(const char* what) {
    std::ostringstream text;
    text << what << " failed (error " << ::GetLastError() << ")";
    return text.str();
}

std::string Visible(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else
            shown += c;
    }
    return shown;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window))
        search->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

// The visible, enabled push buttons that are direct children of `dialog`.
std::vector<HWND> Buttons(HWND dialog) {
    std::vector<HWND> children;
    ::EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<HWND> buttons;
    for (HWND child : children) {
        if (::GetParent(child) != dialog || ClassName(child) != "Button")
            continue;
        if (!::IsWindowVisible(child) || !::IsWindowEnabled(child))
            continue;
        LONG type = ::GetWindowLongA(child, GWL_STYLE) & kButtonTypeMask;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            buttons.push_back(child);
    }
    return buttons;
}

bool IsUsableButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    return button && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
}

DWORD Elapsed(DWORD since) {
    return ::GetTickCount() - since;
}

} // namespace

DWORD TimeFactor() {
    static const DWORD factor = [] {
        char text[16] = {};
        const DWORD length = ::GetEnvironmentVariableA("SETUP_TIME_FACTOR", text, sizeof text);
        const unsigned long value =
            length && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
        return value >= 1 && value <= 100 ? static_cast<DWORD>(value) : DWORD{1};
    }();
    return factor;
}

DWORD Allowing(DWORD milliseconds) {
    const DWORD factor = TimeFactor();
    return milliseconds > INFINITE / factor ? INFINITE : milliseconds * factor;
}

// --- Text --------------------------------------------------------------------

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                     0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], size,
                          nullptr, nullptr);
    return ansi;
}

std::wstring ToWide(const std::string& ansi) {
    if (ansi.empty())
        return std::wstring();
    int size =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], size);
    return wide;
}

// --- Process -----------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : process_(std::move(other.process_)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        process_ = std::move(other.process_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
}

bool Process::Start(const std::string& program, const std::string& commandLine,
                    const std::string& workingDirectory, std::string& error) {
    Kill();
    process_.reset();
    id_ = 0;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &info)) {
        error = LastErrorText(("starting " + program).c_str());
        return false;
    }
    UniqueKernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    return true;
}

bool Process::HasExited() const {
    return WaitForExit(0);
}

bool Process::WaitForExit(DWORD milliseconds) const {
    if (!process_)
        return true;
    return ::WaitForSingleObject(process_.get(), Allowing(milliseconds)) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void Process::Kill() {
    if (!process_ || HasExited())
        return;
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), Allowing(kDefaultTimeoutMilliseconds));
}

// --- Windows -----------------------------------------------------------------

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    ::EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::string ClassName(HWND window) {
    char name[256];
    int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                               Allowing(kMessageTimeoutMilliseconds), &length))
        return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                               SMTO_ABORTIFHUNG, Allowing(kMessageTimeoutMilliseconds), &copied))
        return std::string();
    text.resize(copied < text.size() ? static_cast<size_t>(copied) : text.size() - 1);
    return ToAnsi(text);
}

bool IsMessageBox(HWND window) {
    return ClassName(window) == "#32770" && ::GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

bool operator==(const MessageBoxContent& a, const MessageBoxContent& b) {
    return a.caption == b.caption && a.text == b.text;
}

bool operator!=(const MessageBoxContent& a, const MessageBoxContent& b) {
    return !(a == b);
}

std::ostream& operator<<(std::ostream& out, const MessageBoxContent& box) {
    return out << "[" << Visible(box.caption) << "] \"" << Visible(box.text) << "\"";
}

bool ReadMessageBox(HWND window, MessageBoxContent& content) {
    if (!IsMessageBox(window))
        return false;
    HWND text = ::GetDlgItem(window, kMessageBoxTextId);
    content.caption = WindowText(window);
    content.text = WindowText(text);
    return ::IsWindow(window) != FALSE;
}

int DefaultButtonId(HWND dialog) {
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG,
                              Allowing(kMessageTimeoutMilliseconds), &result) &&
        HIWORD(result) == DC_HASDEFID && IsUsableButton(dialog, LOWORD(result)))
        return LOWORD(result);
    std::vector<HWND> buttons = Buttons(dialog);
    for (HWND button : buttons)
        if ((::GetWindowLongA(button, GWL_STYLE) & kButtonTypeMask) == BS_DEFPUSHBUTTON)
            return ::GetDlgCtrlID(button);
    if (IsUsableButton(dialog, IDOK))
        return IDOK;
    return buttons.empty() ? 0 : ::GetDlgCtrlID(buttons.front());
}

bool PressButton(HWND dialog, int buttonId) {
    HWND button = ::GetDlgItem(dialog, buttonId);
    if (!button || !::IsWindowEnabled(button))
        return false;
    // Posted, not sent: the dialog may open the next window from its handler,
    // and the driver must stay free to look at it.
    return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                          reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool WaitUntilGone(HWND window, DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (!::IsWindow(window) || !::IsWindowVisible(window))
            return true;
        if (Elapsed(start) >= Allowing(milliseconds))
            return false;
        ::Sleep(kPollMilliseconds);
    }
}

HWND WaitForWindow(DWORD processId, const std::string& caption, DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        for (HWND window : VisibleTopLevelWindows(processId))
            if (WindowText(window) == caption)
                return window;
        if (Elapsed(start) >= Allowing(milliseconds))
            return nullptr;
        ::Sleep(kPollMilliseconds);
    }
}

// --- Running a program to its end --------------------------------------------

std::string RunResult::Describe() const {
    std::ostringstream text;
    text << (exited     ? "ended by itself"
             : timedOut ? "timed out and was ended"
                        : "was ended")
         << (exited ? ", exit code " + std::to_string(exitCode) : std::string()) << "\n";
    for (size_t i = 0; i < boxes.size(); ++i)
        text << "  box " << i + 1 << ": " << boxes[i] << "\n";
    for (const std::string& window : otherWindows)
        text << "  other window: " << window << "\n";
    if (!error.empty())
        text << "  error: " << error << "\n";
    return text.str();
}

RunResult RunAnsweringMessageBoxes(const std::string& program, const std::string& commandLine,
                                   const std::string& workingDirectory, const RunOptions& options) {
    RunResult result;
    Process process;
    if (!process.Start(program, commandLine, workingDirectory, result.error))
        return result;
    result.started = true;
    const DWORD start = ::GetTickCount();
    auto remaining = [&]() -> DWORD {
        DWORD spent = Elapsed(start);
        const DWORD allowed = Allowing(options.timeoutMilliseconds);
        return spent < allowed ? allowed - spent : 0;
    };
    std::vector<HWND> reported;
    for (;;) {
        for (HWND window : VisibleTopLevelWindows(process.Id())) {
            MessageBoxContent box;
            if (ReadMessageBox(window, box)) {
                result.boxes.push_back(box);
                int button = DefaultButtonId(window);
                if (button == 0 || !PressButton(window, button)) {
                    result.error = "the message box has no button to press";
                    process.Kill();
                    return result;
                }
                if (!WaitUntilGone(window, remaining()))
                    break; // the timeout below ends the run
                continue;
            }
            if (!::IsWindow(window) || !::IsWindowVisible(window))
                continue;
            bool known = false;
            for (HWND seen : reported)
                known = known || seen == window;
            if (known)
                continue;
            reported.push_back(window);
            result.otherWindowSeen = true;
            result.otherWindows.push_back(ClassName(window) + " \"" + Visible(WindowText(window)) +
                                          "\"");
            if (options.stopAtOtherWindow) {
                result.error = "a window that is no message box appeared";
                process.Kill();
                return result;
            }
        }
        if (process.WaitForExit(kPollMilliseconds)) {
            result.exited = true;
            result.exitCode = process.ExitCode();
            return result;
        }
        if (remaining() == 0) {
            result.timedOut = true;
            std::ostringstream error;
            error << "still running after " << Allowing(options.timeoutMilliseconds) << " ms";
            result.error = error.str();
            process.Kill();
            return result;
        }
    }
}

} // namespace windowdriver
