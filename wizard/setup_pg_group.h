// The Group and Settings page: which shortcuts to make, whether to start the
// program now and with Windows, and the program group, typed or picked from
// the existing ones. Its Finish button, "Install", runs the installation.
#pragma once

#include "property_sheet.h"

#include <string>

class CSetupPgGroup : public CPropertyPage {
public:
    CSetupPgGroup();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnCommand(UINT id, UINT code) override;
    BOOL OnWizardFinish() override;

    void OnSelchangeGroupList();

    // The Programs folder followed by one backslash, to which the installation
    // appends the group name; empty when the shell knows no Programs folder,
    // and then no group is made.
    std::string m_szGroupDir;
    // Set once the installation has copied the package: only then is there a
    // post-install program to start.
    bool m_bInstalled = false;

private:
    void SetDisplayNameAndGroup();
    void ListProgramGroups();
};
