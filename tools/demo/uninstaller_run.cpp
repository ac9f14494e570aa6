#include "uninstaller_run.h"

#include "message_box_answer.h"
#include "path_helpers.h"
#include "pending_deletions.h"
#include "unique_handle.h"
#include "window_driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

constexpr DWORD kConfirmationMilliseconds = 15000;
constexpr DWORD kRemovalMilliseconds = 30000;

// The program of a command line: its first argument, quoted or not.
std::string ProgramOf(const std::string& command) {
    if (!command.empty() && command[0] == '"')
        return command.substr(1, command.find('"', 1) - 1);
    return command.substr(0, command.find(' '));
}

// The copies of `program` that uninstallations handed over to, each in a
// directory of its own below the temporary directory: "Setup-0A1B2C3D\Setup.exe".
std::vector<std::string> TemporaryCopies(const std::string& program) {
    const std::string directory = TemporaryDirectoryPath();
    const std::string pattern = ExtractFileName(program, false) + "-????????";
    std::vector<std::string> copies;
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA((directory + pattern).c_str(), &entry));
    if (!search)
        return copies;
    do
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copies.push_back(directory + entry.cFileName + "\\" + ExtractFileName(program, true));
    while (::FindNextFileA(search.get(), &entry));
    return copies;
}

std::string NewCopy(const std::vector<std::string>& before, const std::string& program) {
    for (const std::string& copy : TemporaryCopies(program))
        if (std::find(before.begin(), before.end(), copy) == before.end())
            return copy;
    return std::string();
}

// The running process whose program file is named `fileName`; none when it
// has not started or has ended already.
UniqueKernelHandle ProcessNamed(const std::string& fileName, DWORD& processId) {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    if (!snapshot || !::Process32First(snapshot.get(), &entry))
        return UniqueKernelHandle();
    do
        if (::lstrcmpiA(entry.szExeFile, fileName.c_str()) == 0) {
            processId = entry.th32ProcessID;
            return UniqueKernelHandle(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        }
    while (::Process32Next(snapshot.get(), &entry));
    return UniqueKernelHandle();
}

std::string ShortOrSame(const std::string& path) {
    char shortPath[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length && length < MAX_PATH ? std::string(shortPath, length) : path;
}

bool IsScheduled(const std::string& path) {
    for (const PendingOperation& operation : PendingRestartOperations())
        if (operation.renameTo.empty() &&
            (::lstrcmpiA(operation.path.c_str(), path.c_str()) == 0 ||
             ::lstrcmpiA(operation.path.c_str(), ShortOrSame(path).c_str()) == 0))
            return true;
    return false;
}

// Starts the command and answers its confirmation with Yes; false when no
// confirmation came or the program did not end after it. It ends once its
// temporary copy has removed the installation, so it is given that long.
bool Confirm(const std::string& command, Screenshots& shots) {
    windowdriver::Process process;
    std::string error;
    const std::string program = ProgramOf(command);
    if (!process.Start(program, command, "", error)) {
        std::cout << "   " << error << std::endl;
        return false;
    }
    HWND dialog = windowdriver::WaitForWindow(process.Id(), "Uninstall", kConfirmationMilliseconds);
    if (!dialog) {
        std::cout << "   no \"Uninstall\" confirmation came" << std::endl;
        for (HWND window : windowdriver::VisibleTopLevelWindows(process.Id()))
            AnswerMessageBox(window, shots);
        return false;
    }
    const std::string shot = shots.Take(dialog, "Uninstall");
    std::cout << "   window \"Uninstall\" (screenshot " << shot << "): pressing \""
              << windowdriver::WindowText(::GetDlgItem(dialog, IDOK)) << "\"" << std::endl;
    if (!windowdriver::PressButton(dialog, IDOK) || !process.WaitForExit(kRemovalMilliseconds)) {
        std::cout << "   the uninstaller did not end after its confirmation" << std::endl;
        return false;
    }
    std::cout << "   the uninstaller ended, exit code " << process.ExitCode() << std::endl;
    return true;
}

// Waits until `copy` is scheduled for deletion at restart and its process
// has ended, answering the message boxes it shows on the way.
bool AwaitRemoval(const std::string& copy, Screenshots& shots) {
    DWORD processId = 0;
    UniqueKernelHandle process = ProcessNamed(ExtractFileName(copy, true), processId);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < windowdriver::Allowing(kRemovalMilliseconds)) {
        for (HWND window : windowdriver::VisibleTopLevelWindows(processId))
            AnswerMessageBox(window, shots);
        const bool ended = !process || ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
        if (ended && IsScheduled(copy))
            return true;
        ::Sleep(windowdriver::kPollMilliseconds);
    }
    return false;
}

} // namespace

UninstallerRun RunUninstaller(const std::string& uninstallCommand, Screenshots& shots) {
    UninstallerRun run;
    const std::string program = ProgramOf(uninstallCommand);
    const std::vector<std::string> copiesBefore = TemporaryCopies(program);
    if (!Confirm(uninstallCommand, shots))
        return run;
    run.temporaryCopy = NewCopy(copiesBefore, program);
    if (run.temporaryCopy.empty()) {
        std::cout << "   no temporary copy of the uninstaller came" << std::endl;
        return run;
    }
    std::cout << "   the temporary copy " << run.temporaryCopy << " removes the installation"
              << std::endl;
    run.completed = AwaitRemoval(run.temporaryCopy, shots);
    std::cout << (run.completed
                      ? "   it scheduled itself for deletion at the next restart and ended"
                      : "   it did not schedule itself for deletion in time")
              << std::endl;
    return run;
}
