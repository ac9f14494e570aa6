// Asks the user to close the program that holds a library about to be replaced.
#pragma once

#include "dialog.h"
#include "font.h"

class CInstallProblemDlg : public CDialog {
public:
    CInstallProblemDlg();
    BOOL OnInitDialog() override;

private:
    CFont m_font; // bold copy of the dialog font for the headline
};
