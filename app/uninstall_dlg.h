// Asks whether the program is really to be uninstalled.
#pragma once

#include "dialog.h"

class CUninstallDlg : public CDialog {
public:
    CUninstallDlg();
    BOOL OnInitDialog() override;
};
