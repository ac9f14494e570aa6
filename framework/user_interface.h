// Every message box and every modal dialog passes through one replaceable
// seam, so that tests can read what the program shows and answer it. The seam
// only intercepts: when it gives no answer, the real box or dialog runs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class CUserInterface {
public:
    virtual ~CUserInterface() = default;
    // An answer in place of the message box, or nothing to show the real one.
    virtual std::optional<int> InterceptMessageBox(const std::string& text, UINT type) {
        return std::nullopt;
    }
    // An answer in place of running dialog `templateId`, or nothing to run it.
    virtual std::optional<INT_PTR> InterceptModal(UINT templateId) { return std::nullopt; }
};

// Installs a replacement (tests); null restores the real user interface.
void SetUserInterface(CUserInterface* ui);
CUserInterface& UserInterface();

// Shows `text` with the application's name as caption, over the main window
// when there is one; returns the button pressed.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);
