// Message boxes and modal dialogs all pass through one replaceable seam, so
// tests can read every box the program shows and answer it.
#pragma once

#include <windows.h>

#include <string>

class CDialog;

class CUserInterface {
public:
    virtual ~CUserInterface() = default;
    // Shows `text` with the application's name as caption; returns the button pressed.
    virtual int MessageBox(const std::string& text, UINT type);
    // Runs the dialog's own modal loop; returns how it ended.
    virtual INT_PTR RunModal(CDialog& dialog);
};

// Installs a replacement (tests); null restores the real user interface.
void SetUserInterface(CUserInterface* ui);
CUserInterface& UserInterface();

int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// A string-table entry; empty when the id is unknown.
std::string LoadResourceString(UINT stringId);
// A string-table entry with its one "%s" replaced by `argument` (taken
// literally: no other format directive in it is interpreted).
std::string FormatResourceString(UINT stringId, const std::string& argument);
