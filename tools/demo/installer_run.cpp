#include "installer_run.h"

#include "message_box_answer.h"
#include "path_helpers.h"
#include "resource.h"
#include "wizard_driver.h"

#include <iostream>

namespace {

using wizarddriver::Wizard;

// A wizard that shows more pages than this has one that never lets go.
constexpr int kMaxPages = 8;
// The copy run of a small package takes seconds; a minute means it hangs.
constexpr DWORD kInstallMilliseconds = 60000;

// A button's text as it reads on the screen, without its mnemonic marker.
std::string Label(const std::string& text) {
    std::string label;
    for (char c : text)
        if (c != '&')
            label += c;
    return label;
}

HWND PageControl(const Wizard& wizard, int id) {
    return ::GetDlgItem(wizard.Page(), id);
}

// The ticked boxes of the last page, by their text.
std::string TickedBoxes(const Wizard& wizard) {
    std::string ticked;
    for (int id :
         {IDC_DESKTOP_SHORTCUT, IDC_QUICKLAUNCH_SHORTCUT, IDC_LAUNCH_PROGRAM, IDC_AUTOSTART})
        if (PageControl(wizard, id) && wizard.IsChecked(id))
            ticked +=
                (ticked.empty() ? "" : ", ") + windowdriver::WindowText(PageControl(wizard, id));
    return ticked.empty() ? "none" : ticked;
}

// Keeps what the report needs from the page and says what the page holds.
std::string NotePage(const Wizard& wizard, InstallerRun& run) {
    if (PageControl(wizard, IDC_INSTALL_DIR) && PageControl(wizard, IDC_BROWSE)) {
        run.installDir = wizard.Text(IDC_INSTALL_DIR);
        return ", directory \"" + run.installDir + "\"";
    }
    if (PageControl(wizard, IDC_GROUP_NAME)) {
        run.launchTicked =
            PageControl(wizard, IDC_LAUNCH_PROGRAM) && wizard.IsChecked(IDC_LAUNCH_PROGRAM);
        return ", group \"" + wizard.Text(IDC_GROUP_NAME) + "\", ticked: " + TickedBoxes(wizard);
    }
    return "";
}

bool SheetGone(const Wizard& wizard) {
    return !::IsWindow(wizard.Sheet()) || !::IsWindowVisible(wizard.Sheet());
}

// Photographs each page and presses its forward button, up to Install; true
// once Install was pressed.
bool DrivePages(Wizard& wizard, Screenshots& shots, InstallerRun& run) {
    for (int shown = 0; shown < kMaxPages && !SheetGone(wizard); ++shown) {
        const std::string title = wizard.PageTitle();
        const std::string shot = shots.Take(wizard.Sheet(), title);
        const std::string note = NotePage(wizard, run);
        const bool last = wizard.ButtonVisible(wizarddriver::kFinish);
        const int button = last ? wizarddriver::kFinish : wizarddriver::kNext;
        std::cout << "   page \"" << title << "\"" << note << " (screenshot " << shot
                  << "): pressing \"" << Label(wizard.ButtonText(button)) << "\"" << std::endl;
        if (!wizard.Press(button)) {
            std::cout << "   nothing happened" << std::endl;
            return false;
        }
        while (HWND box = wizard.MessageBox())
            if (!AnswerMessageBox(box, shots))
                return false;
        if (last)
            return true;
    }
    std::cout << "   the wizard ended before its Install button was pressed" << std::endl;
    return false;
}

// Waits for the program to end, answering its message boxes; false when it
// had to be ended by force.
bool AwaitEnd(const windowdriver::Process& process, const Wizard& wizard, Screenshots& shots) {
    const DWORD start = ::GetTickCount();
    while (!process.WaitForExit(windowdriver::kPollMilliseconds)) {
        if (HWND box = wizard.MessageBox())
            AnswerMessageBox(box, shots);
        else if (::GetTickCount() - start > windowdriver::Allowing(kInstallMilliseconds))
            return false;
    }
    return true;
}

} // namespace

InstallerRun RunInstaller(const std::string& setupProgram, Screenshots& shots) {
    InstallerRun run;
    windowdriver::Process process;
    std::string error;
    // Started in its own directory, as a double click in a file window does.
    if (!process.Start(setupProgram, "\"" + setupProgram + "\"", ExtractDirectory(setupProgram),
                       error)) {
        std::cout << "   " << error << std::endl;
        return run;
    }
    Wizard wizard(process);
    if (!wizard.WaitForSheet()) {
        std::cout << "   no wizard showed" << std::endl;
        HWND box = wizard.MessageBox();
        while (box && AnswerMessageBox(box, shots))
            box = wizard.MessageBox();
        return run;
    }
    if (!DrivePages(wizard, shots, run)) {
        std::cout << "   the installer is ended by force" << std::endl;
        return run; // the process owner ends it
    }
    if (!AwaitEnd(process, wizard, shots)) {
        std::cout << "   still running after "
                  << windowdriver::Allowing(kInstallMilliseconds) / 1000 << " s: ended by force"
                  << std::endl;
        return run;
    }
    run.exitCode = process.ExitCode();
    run.completed = true;
    std::cout << "   the installer ended, exit code " << run.exitCode << std::endl;
    return run;
}
