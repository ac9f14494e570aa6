// The Group and Settings page: which shortcuts to make, whether to start the
// program now and with Windows, and the program group, typed or picked from
// the existing ones. Its Finish button, "Install", runs the installation.
#pragma once

#include "installation.h"
#include "property_sheet.h"

#include <string>

class InstallPrompts;
#include "install_choices.h"
struct SetupContext;

class CSetupPgGroup : public CPropertyPage {
public:
    CSetupPgGroup(SetupContext& context, InstallChoices& choices);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnCommand(UINT id, UINT code) override;
    BOOL OnWizardFinish() override;

    BOOL OnKillActive() override;

    void OnSelchangeGroupList();

    // The Programs folder followed by one backslash, below which the group is
    // made; empty when the shell knows no Programs folder, and then no group
    // is made.
    std::string m_szProgramsFolder;
    // Set once the installation has copied the package: only then is there a
    // post-install program to start.
    bool m_bInstalled = false;
    // How the last press of Install ended; the program's exit code tells it.
    InstallOutcome m_outcome;

private:
    void SetDisplayNameAndGroup();
    void ListProgramGroups();
    // The page's settings into the choices.
    void CollectChoices();

    SetupContext& context_;
    InstallChoices& choices_;
};
