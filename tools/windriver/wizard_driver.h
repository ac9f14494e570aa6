// Drives the install wizard of another process as a user would: finds the
// sheet, reads the current page's controls, types, ticks, picks from lists
// and presses the sheet's buttons, and answers the message boxes on the way.
#pragma once

#include "window_driver.h"

#include <string>
#include <vector>

namespace wizarddriver {

// The sheet's buttons, as their ids.
constexpr int kBack = 0x3023;
constexpr int kNext = 0x3024;
constexpr int kFinish = 0x3025;
constexpr int kCancel = IDCANCEL;

class Wizard {
public:
    explicit Wizard(const windowdriver::Process& process) : process_(process) {}

    // Waits for the sheet to show; false when it never did.
    bool WaitForSheet(DWORD milliseconds = windowdriver::kDefaultTimeoutMilliseconds);
    HWND Sheet() const { return sheet_; }
    // The page shown now, and its title (the caption of its template).
    HWND Page() const;
    std::string PageTitle() const;

    std::string Text(int controlId) const; // of the current page's control
    void SetText(int controlId, const std::string& text) const;
    bool IsChecked(int controlId) const;
    void SetChecked(int controlId, bool checked) const;
    // The entries of a list box of the current page, in their order.
    std::vector<std::string> ListItems(int controlId) const;
    // Selects entry `index` as a click would, notifying the page.
    void PickListItem(int controlId, int index) const;
    // The text and visibility of the sheet's own buttons.
    std::string ButtonText(int buttonId) const;
    bool ButtonVisible(int buttonId) const;

    // Presses a sheet button and waits until the page changed, a message box
    // came, or the sheet went. False when none of that happened in time.
    bool Press(int buttonId);
    // A message box of the program, if one is showing now.
    HWND MessageBox() const;

private:
    HWND Control(int controlId) const { return ::GetDlgItem(Page(), controlId); }
    const windowdriver::Process& process_;
    HWND sheet_ = nullptr;
};

} // namespace wizarddriver
